#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs what is missing, generates the test
# locales and builds the tree into build/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

missing=()
while read -r pkg; do
    [ -n "$pkg" ] || continue
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done < "$root/scripts/packages.txt"
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Locales with "," as decimal separator, used by the tests.
for loc in ru_RU de_DE; do
    if ! locale -a 2>/dev/null | grep -qi "^${loc}\.utf-\?8$"; then
        sed -i "s/^# *\(${loc}\.UTF-8 UTF-8\)/\1/" /etc/locale.gen
        grep -q "^${loc}.UTF-8 UTF-8" /etc/locale.gen || echo "${loc}.UTF-8 UTF-8" >> /etc/locale.gen
        need_gen=1
    fi
done
if [ "${need_gen:-0}" = 1 ]; then locale-gen >/dev/null; fi

cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j "$(nproc)"

# The shipped parameter file goes beside each executable, never over the user's own.
for dir in "$root/build/bin" "$root/build/bin/fixed-name"; do
    [ -e "$dir/mirvane.dat" ] || cp "$root/data/mirvane.dat" "$dir/mirvane.dat"
done
