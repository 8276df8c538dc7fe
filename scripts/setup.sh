#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs what is missing, generates the test
# locales and builds the tree with the CMake preset given (default: "default",
# into build/; "asan" into build-asan/, "fuzz" into build-fuzz/).
#   scripts/setup.sh [PRESET [TARGET...]]   only the targets named, when there are any
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
preset=${1:-default}
targets=("${@:2}")

"$root/scripts/prerequisites.sh"

cd "$root"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)" ${targets[@]:+--target "${targets[@]}"}

# The shipped parameter file goes beside each executable, never over the user's own.
[ "$preset" = default ] || exit 0
for dir in "$root/build/bin" "$root/build/bin/fixed-name"; do
    [ -x "$dir/mirvane" ] && [ ! -e "$dir/mirvane.dat" ] && cp "$root/data/mirvane.dat" "$dir/mirvane.dat"
done
exit 0
