#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs what is missing, generates the test
# locales and builds the tree into build/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$root/scripts/prerequisites.sh"

cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j "$(nproc)"

# The shipped parameter file goes beside each executable, never over the user's own.
for dir in "$root/build/bin" "$root/build/bin/fixed-name"; do
    [ -e "$dir/mirvane.dat" ] || cp "$root/data/mirvane.dat" "$dir/mirvane.dat"
done
