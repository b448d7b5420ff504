#!/usr/bin/env bash
# Builds Zandrel and runs every test. With --sanitize the build and the run use AddressSanitizer
# and UndefinedBehaviorSanitizer (in build-asan/).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--sanitize" ]; then
  bash scripts/setup.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DZANDREL_SANITIZE=ON
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
else
  bash scripts/setup.sh build
  ctest --test-dir build --output-on-failure -j "$(nproc)"
fi
