#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when any is missing.
# Sourced by run.sh and test.sh; safe to run again (it installs nothing when all are present).
set -euo pipefail

PICTARIUM_PACKAGES=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libsqlite3-dev libpng-dev libssl-dev openssl
  libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-droid-fallback librsvg2-bin
  libjpeg62-turbo-dev libgif-dev imagemagick libimage-exiftool-perl
  libturbojpeg0-dev libjpeg-turbo-progs libvips-tools
  clang libclang-rt-14-dev
)

pictarium_missing_packages() {
  local missing=()
  for package in "${PICTARIUM_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  echo "${missing[@]:-}"
}

pictarium_install_deps() {
  local missing
  missing=$(pictarium_missing_packages)
  [ -z "$missing" ] && return 0
  echo "Installing missing packages: $missing"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      sudo="sudo"
    else
      echo "error: not root and no sudo; install these packages first: $missing" >&2
      return 1
    fi
  fi
  # shellcheck disable=SC2086
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  # shellcheck disable=SC2086
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
}
