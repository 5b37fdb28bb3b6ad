#!/usr/bin/env bash
# Checks that every C++ source is formatted as .clang-format says, with
# clang-format 14 (another version may format differently), and names the
# files that are not. Nothing is changed: `make format` reformats.
#   tools/format_check.sh [FILE...]
set -euo pipefail
cd "$(dirname "$0")/.."
formateur=$(command -v clang-format-14 || true)
if [ -z "$formateur" ]; then
  echo "format_check: clang-format-14 is missing (tools/bootstrap.sh installs it)" >&2
  exit 2
fi
if [ $# -eq 0 ]; then
  mapfile -t fichiers < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
                                         'bench/*.cpp' 'bench/*.h' 'tools/*.cpp' 'tools/*.h')
else
  fichiers=("$@")
fi
fautifs=()
for f in "${fichiers[@]}"; do
  "$formateur" --dry-run -Werror "$f" >/dev/null 2>&1 || fautifs+=("$f")
done
if [ ${#fautifs[@]} -gt 0 ]; then
  printf '%s\n' "${fautifs[@]}"
  echo "format_check: ${#fautifs[@]} of ${#fichiers[@]} files are not formatted; run make format" >&2
  exit 1
fi
echo "format_check: ${#fichiers[@]} files formatted"
