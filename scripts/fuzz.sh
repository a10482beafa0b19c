#!/usr/bin/env bash
# Builds the libFuzzer harnesses (the sanitizer build, with clang) and runs each for a bounded time,
# with leak detection on. Reports each harness's executions and the edges it covered.
#   scripts/fuzz.sh [SECONDS]   (default 20 per harness)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

seconds="${1:-20}"
build_sanitize_project >/dev/null
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS="detect_leaks=1" LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp"
out="$SPIRELLE_SANITIZE_DIR"
# The harnesses' temporary files live in memory: each written file is synced to its disk, and a
# real disk's sync for every input would throttle the graphics harness several times over.
[ -d /dev/shm ] && export TMPDIR=/dev/shm

status=0
for harness in "$out"/bin/fuzz_*; do
  name=$(basename "$harness")
  corpus="fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  cp -r "$corpus"/. "$work"/ 2>/dev/null || true
  log="$out/$name.log"
  if "$harness" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$out/$name-" \
       "$work" >"$log" 2>&1; then
    runs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}')
    edges=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | awk '{print $2}')
    echo "$name: ${runs:-?} executions, ${edges:-?} edges, no finding"
  else
    echo "$name: FINDING, see $log"; tail -30 "$log"; status=1
  fi
  rm -rf "$work"
done
exit $status
