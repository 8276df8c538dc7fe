#!/usr/bin/env bash
# checklayer.sh NM LIBRARY ABOVE...
# Fails when the static LIBRARY leaves a symbol undefined that one of the
# libraries ABOVE defines: a static library links whatever is missing, so
# only its symbols show an arrow that points up.
set -euo pipefail
nm=$1 library=$2
shift 2
symbols() { "$nm" --format=posix "$@" 2>/dev/null | awk 'NF >= 2 && $1 !~ /:$/ { print $1 }' | sort -u; }
wanted=$(symbols --undefined-only "$library")
status=0
for above in "$@"; do
    found=$(comm -12 <(echo "$wanted") <(symbols --defined-only --extern-only "$above"))
    if [ -n "$found" ]; then
        echo "$(basename "$library") needs from $(basename "$above"):"
        echo "$found" | sed 's/^/  /'
        status=1
    fi
done
exit $status
