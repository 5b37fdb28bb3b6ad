#!/bin/bash
# Checks the layer rule: a folder under src/ includes only itself and the
# folders below it. Prints every include that points sideways or upward and
# exits 1 when there is one; a folder missing from the order below also
# fails, so that a new folder is given its place on purpose.
#
# Usage: tools/check_layers.sh [SRC_DIR]
set -u
src=${1:-$(dirname "$0")/../src}

# Bottom to top. Folders on one line are side by side: neither may include
# the other.
layers=(
  "toolbox"
  "records"
  "image"
  "staff"
  "symbols"
  "structure"
  "document"
  "recognition"
  "shell"
  "acquisition pdf batch"
  "app desktop"
)

declare -A rank
for i in "${!layers[@]}"; do
  for folder in ${layers[$i]}; do rank[$folder]=$i; done
done

faults=0
for path in "$src"/*/; do
  folder=$(basename "$path")
  if [[ -z ${rank[$folder]+x} ]]; then
    echo "src/$folder/ has no place in the layer order of tools/check_layers.sh"
    faults=$((faults + 1))
  fi
done

# One line per include of another folder: "file line target".
while read -r file line target; do
  folder=${file%%/*}
  [[ $target == "$folder" || -z ${rank[$target]+x} || -z ${rank[$folder]+x} ]] && continue
  if (( rank[$target] >= rank[$folder] )); then
    echo "src/$file:$line: $folder/ includes $target/, which is not below it"
    faults=$((faults + 1))
  fi
done < <(cd "$src" && grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^/"]+/' . \
           --include='*.h' --include='*.cpp' |
         sed -E 's|^\./([^:]+):([0-9]+):[^"]*"([^/"]+)/.*|\1 \2 \3|')

if (( faults > 0 )); then
  echo "$faults fault(s) against the layer rule (see README, Source tree)"
  exit 1
fi
