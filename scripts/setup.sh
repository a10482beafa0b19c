#!/usr/bin/env bash
# Shared by run.sh and test.sh: install what is missing, then configure and build.
# Sourcing scripts may set SPIRELLE_BUILD_DIR and SPIRELLE_CMAKE_ARGS before calling build_project.

SPIRELLE_PACKAGES=(
  cmake g++ pkg-config make dpkg-dev
  qt6-base-dev libgl-dev libprimesieve-dev libbenchmark-dev libgif-dev libpng-dev
  libcli11-dev nlohmann-json3-dev libtbb-dev tao-pegtl-dev
  fonts-liberation fonts-dejavu-core
  xvfb xauth xdotool imagemagick ccache
  help2man appstream desktop-file-utils bash-completion
)
# The sanitizer build uses clang, so that the same build also holds the libFuzzer harnesses.
SPIRELLE_SANITIZE_PACKAGES=(clang libclang-rt-dev)
SPIRELLE_SANITIZE_DIR=build-sanitize

# Builds go through ccache: the sanitizer build and a second checkout reuse what was compiled once.
# Paths are hashed relative to the checkout, so two checkouts of one tree share their objects.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-true}"
compiler_launcher_args() {
  command -v ccache >/dev/null || return 0
  echo "-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
}

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Without root and without sudo nothing can be installed here: say what root has to run, and stop.
require_a_way_to_install() {
  [ "$(id -u)" -eq 0 ] || command -v sudo >/dev/null && return 0
  {
    echo "$0: these Debian packages are missing: $*"
    echo "Installing them needs root, and sudo is not installed. As root, run:"
    echo "  apt-get update && apt-get install -y --no-install-recommends $*"
    echo "then run $0 again."
  } >&2
  exit 1
}

install_missing_packages() {
  local missing=()
  local pkg
  for pkg in "${SPIRELLE_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ "${#missing[@]}" -eq 0 ] && return 0
  require_a_way_to_install "${missing[@]}"
  echo "Installing missing packages: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The sanitizer build: every test and the fuzz harnesses, with AddressSanitizer and UBSan.
build_sanitize_project() {
  SPIRELLE_PACKAGES+=("${SPIRELLE_SANITIZE_PACKAGES[@]}")
  install_missing_packages
  # The benchmarks measure the normal build; the sanitizer build leaves them out to save CI time.
  # shellcheck disable=SC2046
  CC=clang CXX=clang++ cmake -S . -B "$SPIRELLE_SANITIZE_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSPIRELLE_SANITIZE=ON -DSPIRELLE_FUZZ=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON \
    $(compiler_launcher_args) >/dev/null
  cmake --build "$SPIRELLE_SANITIZE_DIR" -j"$(nproc)" --target all fuzzers
}

build_project() {
  local dir="${SPIRELLE_BUILD_DIR:-build}"
  # shellcheck disable=SC2046,SC2086
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo $(compiler_launcher_args) ${SPIRELLE_CMAKE_ARGS:-} >/dev/null
  cmake --build "$dir" -j"$(nproc)"
}
