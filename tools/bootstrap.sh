#!/usr/bin/env bash
# Installs the Debian packages Ruzo needs to build, test and run, only when missing.
#   tools/bootstrap.sh [--fuzz]
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libtiff-dev libpng-dev libjpeg62-turbo-dev
  libfreetype-dev libfontconfig-dev lilypond-fonts
  libgtest-dev libcli11-dev libpugixml-dev libbenchmark-dev
  libxml2-utils python3
  clang-format-14 file
  libsane-dev libsane1
)
# `make fuzz`: clang and its libFuzzer runtime, only for those who fuzz.
if [ "${1:-}" = --fuzz ]; then packages=(clang-14 libclang-rt-14-dev); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "bootstrap: installing ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null; then SUDO=sudo; else
    echo "bootstrap: need root to install: ${missing[*]}" >&2; exit 1
  fi
else
  SUDO=
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq "${missing[@]}"
