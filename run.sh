#!/usr/bin/env bash
# Installs, builds and starts mirvane with the shipped parameter file beside it.
# --lang LANG (en, de, uk, ru) starts it with the caption file
# data/locale/LANG/mirvane.xml, Qt's own dialogs in the same language.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
lang=
languages=$(cd "$root/data/locale" && echo *)
case "$#:${1:-}" in
0:) ;;
2:--lang) lang=$2 ;;
*) echo "usage: $0 [--lang LANG], LANG one of: $languages" >&2; exit 2 ;;
esac
captions="$root/data/locale/$lang/mirvane.xml"
# A name, not a path: build/lang/LANG is made from it.
if [ -n "$lang" ] && { [[ $lang == */* || $lang == .* ]] || [ ! -f "$captions" ]; }; then
    echo "no captions for '$lang'; there are: $languages" >&2
    exit 2
fi

# The program alone: the tests and tools are test.sh's to build.
"$root/scripts/setup.sh" default mirvane
if [ -z "${DISPLAY:-}" ]; then
    echo "mirvane: no display to open its windows on; on a virtual screen: xvfb-run -a -s \"-screen 0 1280x1024x24\" $0" >&2
    exit 1
fi
bin="$root/build/bin"
[ -n "$lang" ] || exec "$bin/mirvane"

# The program reads its files only beside its executable. A folder of its own
# with a copy of the program and the caption file leaves any mirvane.xml in
# build/bin alone; the parameter file is a link, so the parameters stay shared.
dir="$root/build/lang/$lang"
mkdir -p "$dir"
cp "$bin/mirvane" "$dir/mirvane"
cp "$captions" "$dir/mirvane.xml"
ln -sfn "$bin/mirvane.dat" "$dir/mirvane.dat"
exec "$dir/mirvane"
