#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang in build-fuzz/ and runs each for a bounded time.
#   scripts/fuzz.sh [SECONDS]   (default 20 per harness)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
SPIRELLE_PACKAGES+=(clang libclang-rt-dev)
install_missing_packages

seconds="${1:-20}"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSPIRELLE_FUZZ=ON \
  -DSPIRELLE_SANITIZE=ON >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzzers
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS="detect_leaks=0"

status=0
for harness in build-fuzz/bin/fuzz_*; do
  name=$(basename "$harness")
  corpus="fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  cp -r "$corpus"/. "$work"/ 2>/dev/null || true
  log="build-fuzz/$name.log"
  if "$harness" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="build-fuzz/$name-" \
       "$work" >"$log" 2>&1; then
    runs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}')
    echo "$name: ${runs:-?} executions, no finding"
  else
    echo "$name: FINDING, see $log"; tail -30 "$log"; status=1
  fi
  rm -rf "$work"
done
exit $status
