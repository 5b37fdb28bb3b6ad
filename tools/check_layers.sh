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
couches=(
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

declare -A rang
for i in "${!couches[@]}"; do
  for dossier in ${couches[$i]}; do rang[$dossier]=$i; done
done

fautes=0
for chemin in "$src"/*/; do
  dossier=$(basename "$chemin")
  if [[ -z ${rang[$dossier]+x} ]]; then
    echo "src/$dossier/ has no place in the layer order of tools/check_layers.sh"
    fautes=$((fautes + 1))
  fi
done

# One line per include of another folder: "file line target".
while read -r fichier ligne cible; do
  dossier=${fichier%%/*}
  [[ $cible == "$dossier" || -z ${rang[$cible]+x} || -z ${rang[$dossier]+x} ]] && continue
  if (( rang[$cible] >= rang[$dossier] )); then
    echo "src/$fichier:$ligne: $dossier/ includes $cible/, which is not below it"
    fautes=$((fautes + 1))
  fi
done < <(cd "$src" && grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^/"]+/' . \
           --include='*.h' --include='*.cpp' |
         sed -E 's|^\./([^:]+):([0-9]+):[^"]*"([^/"]+)/.*|\1 \2 \3|')

if (( fautes > 0 )); then
  echo "$fautes fault(s) against the layer rule (see README, Source tree)"
  exit 1
fi
