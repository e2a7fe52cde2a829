#!/usr/bin/env bash
# Builds the program and starts it from data/, the working directory it loads its files from.
# Extra arguments go to the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/build-steps.sh"
install_and_become_owner "$@"
build="$root/build"
configure_and_build "$build" orvek
if [[ -z ${DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
    echo "run: no X display (DISPLAY is not set): start it from a desktop session (under" \
        "Wayland, XWayland sets DISPLAY), or with QT_QPA_PLATFORM=offscreen" >&2
    exit 1
fi
cd "$root/data"
exec "$build/app/orvek" "$@"
