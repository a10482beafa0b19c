#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh

install_missing_packages
build_project
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${SPIRELLE_BUILD_DIR:-build}" --output-on-failure -j"$(nproc)"
