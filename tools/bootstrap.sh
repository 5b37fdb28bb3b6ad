#!/usr/bin/env bash
# Installs the Debian packages Ruzo needs to build, test and run, only when missing.
#   tools/bootstrap.sh [--fuzz | --cluster]
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libtiff-dev libpng-dev libjpeg62-turbo-dev zlib1g-dev
  libfreetype-dev libfontconfig-dev lilypond-fonts
  libgtest-dev libcli11-dev libpugixml-dev libbenchmark-dev
  libxml2-utils python3
  clang-format-14 file
  qt6-base-dev qt6-multimedia-dev xvfb xauth
  libpoppler-glib-dev img2pdf qpdf
  libsane-dev libsane1
)
# `make fuzz`: clang and its libFuzzer runtime, only for those who fuzz.
if [ "${1:-}" = --fuzz ]; then packages=(clang-14 libclang-rt-14-dev); fi
# `make test-cluster`: Slurm and MUNGE for a one-node cluster, GNU parallel.
if [ "${1:-}" = --cluster ]; then packages=(slurm-wlm munge parallel); fi

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
