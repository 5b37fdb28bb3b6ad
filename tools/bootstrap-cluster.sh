#!/usr/bin/env bash
# Installs what `make test-cluster` needs beyond tools/bootstrap.sh: Slurm
# and MUNGE, to run the Slurm recipe on a one-node cluster, and GNU parallel
# for the SSH-hosts recipe. Only when missing; a failed install is reported
# and left to the tests, which skip.
"$(dirname "$0")/bootstrap.sh" --cluster ||
  echo "bootstrap-cluster: could not install slurm-wlm, munge or parallel; the cluster tests will skip" >&2
exit 0
