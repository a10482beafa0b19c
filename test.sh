#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#   ./test.sh             the normal build in build/
#   ./test.sh --sanitize  the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer,
#                         in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh

SPIRELLE_BUILD_DIR=build
case "${1:-}" in
  --sanitize)
    SPIRELLE_BUILD_DIR=build-sanitize
    SPIRELLE_CMAKE_ARGS="-DSPIRELLE_SANITIZE=ON"
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
    export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    ;;
  "") ;;
  *) echo "usage: $0 [--sanitize]" >&2; exit 64 ;;
esac

install_missing_packages
build_project
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$SPIRELLE_BUILD_DIR" --output-on-failure -j"$(nproc)"
