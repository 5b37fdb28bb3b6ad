#!/usr/bin/env bash
# Recognises the bundled sample page end to end: writes BUILD/sample.msb
# (the recognition result), BUILD/sample.msf (the music file),
# BUILD/sample.musicxml (for any score editor) and BUILD/sample-p1.png (the
# page with what was recognised drawn over it).
set -uo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")/.." && pwd)
"$build/ruzo" recognize "$here/tests/data/sample-page.png" -o "$build/sample" --musicxml --overlay
code=$?
if [ $code -ne 0 ]; then
  echo "demo: the sample page was not recognised (exit code $code)" >&2
fi
exit $code
