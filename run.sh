#!/usr/bin/env bash
# Installs what is missing, builds, and starts Spirelle.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh

install_missing_packages
build_project
if [ -x build/bin/spirelle ]; then
  exec build/bin/spirelle "$@"
fi
build/bin/spirelle-render --out spiral.png
echo "Wrote the default picture to $(pwd)/spiral.png"
