#!/usr/bin/env bash
# Builds the program and starts it from data/, the working directory it loads its files from.
# Extra arguments go to the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja
cmake --build "$build" --target orvek
cd "$root/data"
exec "$build/app/orvek" "$@"
