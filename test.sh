#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#   ./test.sh             the normal build in build/
#   ./test.sh --sanitize  the same tests built by clang with AddressSanitizer and
#                         UndefinedBehaviorSanitizer in build-sanitize/, then every fuzz harness for
#                         a bounded time (SPIRELLE_FUZZ_SECONDS, default 20 each)
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
case "${1:-}" in
  --sanitize)
    build_sanitize_project
    # The fuzzers run even when a test failed, so that both report; either failing fails the run.
    status=0
    ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" \
    LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
      ctest --test-dir "$SPIRELLE_SANITIZE_DIR" --output-on-failure -j"$(nproc)" || status=1
    scripts/fuzz.sh "${SPIRELLE_FUZZ_SECONDS:-20}" || status=1
    exit "$status"
    ;;
  "")
    install_missing_packages
    build_project
    ctest --test-dir build --output-on-failure -j"$(nproc)"
    ;;
  *) echo "usage: $0 [--sanitize]" >&2; exit 64 ;;
esac
