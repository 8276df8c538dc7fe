#!/usr/bin/env bash
# Installs, builds and runs every test; windows open on Xvfb when there is no display.
#   ./test.sh [CTEST-ARGS]         the plain suite, in build/
#   ./test.sh --asan [CTEST-ARGS]  the same suite under AddressSanitizer and UBSan, in build-asan/
#   ./test.sh --fuzz [CTEST-ARGS]  each fuzz target for a bounded time (README: Fuzzing), in build-fuzz/
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
preset=default
case "${1:-}" in
    --asan) preset=asan; shift ;;
    --fuzz) preset=fuzz; shift ;;
esac
"$root/scripts/setup.sh" "$preset"
cd "$root"
run=(ctest --preset "$preset" -j "$(nproc)" "$@")
if [ -z "${DISPLAY:-}" ] && [ "$preset" != fuzz ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "${run[@]}"
fi
exec "${run[@]}"
