#!/usr/bin/env bash
# The GNU parallel recipe with this machine as its only host (":", no SSH):
# tools/parallel/ruzo-hosts over three small documents, then the merged log
# must hold every document once, each "ok". Skips without GNU parallel.
#
# Usage: tests/cluster/parallel_hosts_test.sh [RUZO_PROGRAM]
set -uo pipefail

racine=$(cd "$(dirname "$0")/../.." && pwd)
ruzo=$(realpath "${1:-$racine/build/ruzo}")
documents=3

skip() { echo "parallel hosts test: SKIPPED: $*"; exit 0; }
fail() { echo "parallel hosts test: FAILED: $*"; exit 1; }

[ -x "$ruzo" ] || fail "no program at $ruzo; build it first"
command -v parallel >/dev/null || skip "GNU parallel is missing (tools/bootstrap-cluster.sh installs it)"
command -v python3 >/dev/null || skip "python3 is missing"

dossier=$(mktemp -d /tmp/ruzo-parallel.XXXXXX)
trap 'rm -rf "$dossier"' EXIT
for i in $(seq "$documents"); do
  mkdir -p "$dossier/set/piece-$i"
  cp "$racine/tests/data/sample-page.png" "$dossier/set/piece-$i/page-1.png"
done
echo ":" >"$dossier/hosts"
mkdir -p "$dossier/home"
export RUZO="$ruzo" RUZO_HOME="$dossier/home"
timeout 240 "$racine/tools/parallel/ruzo-hosts" "$dossier/hosts" "$dossier/out" "$dossier/set" \
  >"$dossier/run.out" 2>&1 || fail "the recipe failed: $(tail -n 20 "$dossier/run.out")"
python3 - "$dossier/out/ruzo-batch.jsonl" "$documents" <<'PY' || fail "the merged log does not cover every document once, ok"
import json, sys
r = [json.loads(l) for l in open(sys.argv[1])]
attendus = [f"piece-{i}" for i in range(1, int(sys.argv[2]) + 1)]
sys.exit(0 if sorted(x["name"] for x in r) == attendus and all(x["status"] == "ok" for x in r) else 1)
PY
echo "parallel hosts test: passed ($documents documents, merged log complete)"
