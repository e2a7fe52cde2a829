#!/usr/bin/env bash
# Builds and runs the test suites. With --sanitize, in a separate AddressSanitizer and
# UndefinedBehaviorSanitizer build (build-asan/). Extra arguments go to ctest (e.g. -R Pick).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/build-steps.sh"
install_and_become_owner "$@"
build="$root/build"
options=()
if [[ "${1:-}" == "--sanitize" ]]; then
    shift
    build="$root/build-asan"
    options+=(-DORVEK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
fi
configure_and_build "$build" all "${options[@]}"
cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"
