#!/usr/bin/env bash
# Installs the Debian packages the build needs (listed in .ci/packages.txt), skipping those
# already installed. Needs root.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mapfile -t wanted < <(grep -v '^\s*#' "$root/.ci/packages.txt" | sed '/^\s*$/d')
missing=()
for package in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done
if ((${#missing[@]})); then
    echo "installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
