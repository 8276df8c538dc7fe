#!/usr/bin/env bash
# Makes sure the Debian packages in PACKAGE_LIST (default: packages.txt beside
# this script) and the test locales are there. What is missing is installed as
# root, through sudo for a normal user; without sudo the script prints the one
# command an administrator has to run and stops. Builds nothing.
set -euo pipefail
list=${1:-"$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/packages.txt"}

# Runs a command line as root, or prints it for an administrator and stops.
as_root() {
    local command=$1 what=$2
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing $what"
        sh -c "$command"
    elif command -v sudo >/dev/null 2>&1; then
        echo "Installing $what through sudo"
        sudo sh -c "$command"
    else
        echo "mirvane needs $what; as root, run:" >&2
        echo "  $command" >&2
        exit 1
    fi
}

missing=()
while read -r pkg; do
    [ -n "$pkg" ] || continue
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done < "$list"
if [ ${#missing[@]} -gt 0 ]; then
    as_root "apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends ${missing[*]}" \
        "the packages ${missing[*]}"
fi

# Locales with "," as decimal separator, used by the tests.
entries=()
for loc in ru_RU de_DE; do
    locale -a 2>/dev/null | grep -qi "^${loc}\.utf-\?8$" || entries+=("${loc}.UTF-8 UTF-8")
done
if [ ${#entries[@]} -gt 0 ]; then
    as_root "printf '%s\\n' $(printf "'%s' " "${entries[@]}")>> /etc/locale.gen && locale-gen >/dev/null" \
        "the locales ${entries[*]%% *}"
fi
