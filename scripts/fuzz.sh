#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with clang in build-fuzz/ and runs each for SECONDS
# (default 10) over its seed corpus, one after the other. New inputs go to build-fuzz/corpus/,
# so the seeds in the tree stay small; an input that fails is saved in build-fuzz/artifacts/ and
# the script stops with an error.
# Usage: scripts/fuzz.sh [SECONDS [HARNESS...]]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
shift || true

packages=(clang libclang-rt-dev cmake ninja-build qt6-base-dev qt6-charts-dev libgl-dev pkg-config libuchardet-dev)
bash scripts/install_packages.sh "${packages[@]}"

build=build-fuzz
if [ ! -f "$build/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZANDREL_FUZZ=ON -DZANDREL_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target fuzzers -j "$(nproc)"

harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  for dir in fuzz/corpus/*/; do
    harnesses+=("$(basename "$dir")")
  done
fi
mkdir -p "$build/artifacts"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for h in "${harnesses[@]}"; do
  mkdir -p "$build/corpus/$h"
  log="$build/fuzz_$h.log"
  echo "== fuzz_$h: ${seconds}s"
  status=0
  "$build/fuzz/fuzz_$h" "$build/corpus/$h" "fuzz/corpus/$h" -max_total_time="$seconds" -timeout=20 \
    -rss_limit_mb=2048 -max_len=8192 -print_final_stats=1 -artifact_prefix="$build/artifacts/$h-" \
    >"$log" 2>&1 || status=$?
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ +DONE)' "$log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$log"
    echo "fuzz_$h found a failing input (exit $status); see $build/artifacts/"
    exit 1
  fi
done
echo "fuzzing: ${#harnesses[@]} harnesses ran ${seconds}s each without a finding"
