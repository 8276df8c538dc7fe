#!/usr/bin/env bash
# Installs, builds and starts mirvane with the shipped parameter file beside it.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/setup.sh"
if [ -z "${DISPLAY:-}" ]; then
    echo "mirvane: no display to open its windows on; on a virtual screen: xvfb-run -a -s \"-screen 0 1280x1024x24\" $0" >&2
    exit 1
fi
exec "$root/build/bin/mirvane"
