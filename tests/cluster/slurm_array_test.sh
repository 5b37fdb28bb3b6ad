#!/usr/bin/env bash
# The Slurm recipe on a real, one-node Slurm: starts munged, slurmctld and
# slurmd on this machine with everything (configuration, key, state, logs)
# in a temporary folder and every socket on 127.0.0.1, runs
# tools/slurm/ruzo-array.sbatch as a 3-task array over five small
# documents, merges the task logs with tools/slurm/merge-logs, checks that
# every document was recognised by exactly one task, and stops the daemons.
# Skips (exit 0, saying why) when Slurm is not installed or will not start.
#
# Usage: tests/cluster/slurm_array_test.sh [RUZO_PROGRAM]
set -uo pipefail

racine=$(cd "$(dirname "$0")/../.." && pwd)
ruzo=$(realpath "${1:-$racine/build/ruzo}")
documents=5

skip() { echo "slurm array test: SKIPPED: $*"; exit 0; }
fail() { echo "slurm array test: FAILED: $*"; exit 1; }

[ -x "$ruzo" ] || fail "no program at $ruzo; build it first"
for c in munged slurmctld slurmd sbatch sinfo python3 timeout; do
  command -v "$c" >/dev/null || skip "$c is missing (tools/bootstrap-cluster.sh installs slurm-wlm and munge)"
done
[ "$(id -u)" -eq 0 ] || skip "slurmd needs root to start jobs as their user"

dossier=$(mktemp -d /tmp/ruzo-slurm.XXXXXX)
chmod 755 "$dossier"  # munged wants its socket's folder open to all
export SLURM_CONF=$dossier/slurm.conf

arrete() {
  for f in "$dossier"/slurmd.pid "$dossier"/slurmctld.pid; do
    [ -s "$f" ] && kill "$(cat "$f")" 2>/dev/null
  done
  [ -S "$dossier/munge.socket" ] && munged --socket="$dossier/munge.socket" --stop >/dev/null 2>&1
  sleep 1
  rm -rf "$dossier"
}
trap arrete EXIT

# Two free ports on 127.0.0.1 (the kernel's choice, released just before use).
read -r port_ctld port_d < <(python3 -c '
import socket
s = [socket.socket() for _ in range(2)]
for x in s: x.bind(("127.0.0.1", 0))
print(*[x.getsockname()[1] for x in s])')

dd if=/dev/urandom of="$dossier/munge.key" bs=1024 count=1 2>/dev/null
chmod 400 "$dossier/munge.key"
munged --force --socket="$dossier/munge.socket" --key-file="$dossier/munge.key" \
  --log-file="$dossier/munged.log" --pid-file="$dossier/munged.pid" \
  --seed-file="$dossier/munged.seed" >/dev/null 2>&1 ||
  skip "munged would not start: $(tail -n 2 "$dossier/munged.log" 2>/dev/null)"

mkdir -p "$dossier/state" "$dossier/spool"
cat >"$SLURM_CONF" <<CONF
ClusterName=ruzotest
SlurmctldHost=localhost(127.0.0.1)
SlurmctldPort=$port_ctld
SlurmdPort=$port_d
CommunicationParameters=NoInAddrAny,NoCtldInAddrAny
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$dossier/munge.socket
SlurmUser=root
SlurmdUser=root
StateSaveLocation=$dossier/state
SlurmdSpoolDir=$dossier/spool
SlurmctldPidFile=$dossier/slurmctld.pid
SlurmdPidFile=$dossier/slurmd.pid
SlurmctldLogFile=$dossier/slurmctld.log
SlurmdLogFile=$dossier/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
MpiDefault=none
SchedulerType=sched/builtin
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
ReturnToService=2
NodeName=localhost NodeAddr=127.0.0.1 CPUs=2 State=UNKNOWN
PartitionName=ruzo Nodes=localhost Default=YES MaxTime=10 State=UP
CONF

slurmctld -i >/dev/null 2>&1 || skip "slurmctld would not start: $(tail -n 2 "$dossier/slurmctld.log" 2>/dev/null)"
slurmd -N localhost >/dev/null 2>&1 || skip "slurmd would not start: $(tail -n 2 "$dossier/slurmd.log" 2>/dev/null)"
for _ in $(seq 30); do
  sinfo -h -o %t 2>/dev/null | grep -qx idle && break
  sleep 1
done
sinfo -h -o %t 2>/dev/null | grep -qx idle || skip "the Slurm node did not come up: $(tail -n 2 "$dossier/slurmd.log")"

# Five one-page documents, one folder each, as a collection is laid out.
for i in $(seq "$documents"); do
  mkdir -p "$dossier/set/piece-$i"
  cp "$racine/tests/data/sample-page.png" "$dossier/set/piece-$i/page-1.png"
done
mkdir -p "$dossier/out" "$dossier/home"
export RUZO="$ruzo" RUZO_HOME="$dossier/home"
(cd "$dossier" && timeout 240 sbatch --wait --array=1-3 --cpus-per-task=1 \
  --output="$dossier/task-%a.out" "$racine/tools/slurm/ruzo-array.sbatch" \
  "$dossier/out" "$dossier/set" >"$dossier/sbatch.out" 2>&1)
code=$?
[ $code -eq 0 ] || fail "the array job ended with $code: $(cat "$dossier"/sbatch.out "$dossier"/task-*.out 2>/dev/null | tail -n 20)"

logs=("$dossier"/out/ruzo-batch-*-of-3.jsonl)
[ ${#logs[@]} -eq 3 ] || fail "expected 3 task logs, found ${#logs[@]}"
records=$(cat "${logs[@]}" | grep -c .)
[ "$records" -eq "$documents" ] || fail "the tasks recorded $records documents, not $documents"
"$racine/tools/slurm/merge-logs" "${logs[@]}" >"$dossier/merged.jsonl" || fail "merge-logs: not every document ended ok"
python3 - "$dossier/merged.jsonl" "$documents" <<'PY' || fail "the merged log does not cover every document once"
import json, sys
noms = [json.loads(l)["name"] for l in open(sys.argv[1])]
attendus = [f"piece-{i}" for i in range(1, int(sys.argv[2]) + 1)]
sys.exit(0 if sorted(noms) == attendus else 1)
PY
for i in $(seq "$documents"); do
  for e in msb msf; do
    [ -s "$dossier/out/piece-$i.$e" ] || fail "no piece-$i.$e"
  done
done
echo "slurm array test: passed ($documents documents over 3 array tasks, one record each)"
