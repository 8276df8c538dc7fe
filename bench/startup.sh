#!/usr/bin/env bash
# Exec to the main window mapped, mirvane against the bare panel example, in
# interleaved pairs (A B A B ...): prints each pair, the medians, the median of
# the pairs' ratios and the resident memory at the mapping.
#   bench/startup.sh [pairs=9] [build folder=build]
# Runs on its own Xvfb (no window manager), which it starts and ends.
set -euo pipefail
cd "$(dirname "$0")/.."
pairs=${1:-9}
bin=${2:-build}/bin
for tool in "$bin/mirvane-startup-timer" "$bin/mirvane" "$bin/glpanel-example"; do
    [[ -x $tool ]] || { echo "missing $tool: build first" >&2; exit 2; }
done

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
export LIBGL_ALWAYS_SOFTWARE=1 QT_QPA_PLATFORM=xcb

measure() { "$bin/mirvane-startup-timer" "$@" 2> >(grep -v XDG_RUNTIME_DIR >&2); }
measure "$bin/glpanel-example" >/dev/null # the first run fills the file cache
measure "$bin/mirvane" >/dev/null

floors=() programs=() ratios=() floorRss=() programRss=()
for i in $(seq "$pairs"); do
    if ! read -r floor fkib < <(measure "$bin/glpanel-example") \
        || ! read -r program pkib < <(measure "$bin/mirvane"); then
        echo "pair $i: a window did not map; left out" >&2
        continue
    fi
    ratio=$(awk -v a="$program" -v b="$floor" 'BEGIN { printf "%.2f", a / b }')
    printf 'pair %d: glpanel-example %s ms, mirvane %s ms, ratio %s\n' "$i" "$floor" "$program" "$ratio"
    floors+=("$floor") programs+=("$program") ratios+=("$ratio")
    floorRss+=("$fkib") programRss+=("$pkib")
done

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
sorted=$(printf '%s\n' "${ratios[@]}" | sort -g)
echo "median: glpanel-example $(median "${floors[@]}") ms, mirvane $(median "${programs[@]}") ms," \
    "ratio $(median "${ratios[@]}") ($(head -1 <<<"$sorted")–$(tail -1 <<<"$sorted"))"
echo "resident memory at the mapping: glpanel-example $(median "${floorRss[@]}") KiB," \
    "mirvane $(median "${programRss[@]}") KiB"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
