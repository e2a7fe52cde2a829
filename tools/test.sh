#!/usr/bin/env bash
# Builds and runs the test suites. With --sanitize, in a separate AddressSanitizer and
# UndefinedBehaviorSanitizer build (build-asan/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
options=()
if [[ "${1:-}" == "--sanitize" ]]; then
    build="$root/build-asan"
    options+=(-DORVEK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
fi
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja "${options[@]}"
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
