#!/usr/bin/env bash
# Installs, builds and starts mirvane with the shipped parameter file beside it.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/setup.sh"
exec "$root/build/bin/mirvane"
