#!/usr/bin/env bash
# Checks that every C++ source is formatted as .clang-format says, with
# clang-format 14 (another version may format differently), and names the
# files that are not. Nothing is changed: `make format` reformats.
#   tools/format_check.sh [FILE...]
set -euo pipefail
cd "$(dirname "$0")/.."
formatter=$(command -v clang-format-14 || true)
if [ -z "$formatter" ]; then
  echo "format_check: clang-format-14 is missing (tools/bootstrap.sh installs it)" >&2
  exit 2
fi
if [ $# -eq 0 ]; then
  mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
                                         'bench/*.cpp' 'bench/*.h' 'tools/*.cpp' 'tools/*.h')
else
  files=("$@")
fi
unformatted=()
for f in "${files[@]}"; do
  "$formatter" --dry-run -Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  printf '%s\n' "${unformatted[@]}"
  echo "format_check: ${#unformatted[@]} of ${#files[@]} files are not formatted; run make format" >&2
  exit 1
fi
echo "format_check: ${#files[@]} files formatted"
