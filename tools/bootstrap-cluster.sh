#!/usr/bin/env bash
# Installs what `make test-cluster` needs beyond tools/bootstrap.sh: Slurm
# and MUNGE, to run the Slurm recipe on a one-node cluster, and GNU parallel
# for the SSH-hosts recipe. Only when missing; a failed install is reported
# and left to the tests, which skip.
set -uo pipefail

packages=(slurm-wlm munge parallel)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "bootstrap-cluster: installing ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null; then SUDO=sudo; else
    echo "bootstrap-cluster: need root to install ${missing[*]}; the cluster tests will skip" >&2
    exit 0
  fi
else
  SUDO=
fi
export DEBIAN_FRONTEND=noninteractive
if ! { $SUDO apt-get update -qq && $SUDO apt-get install -y -qq "${missing[@]}"; }; then
  echo "bootstrap-cluster: could not install ${missing[*]}; the cluster tests will skip" >&2
fi
exit 0
