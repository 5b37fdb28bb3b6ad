#!/usr/bin/env bash
# Runs every fuzz target built in BUILD (cmake -DRUZO_FUZZ=ON, see `make fuzz`)
# for SECONDS seconds each, starting from its seeds: the files of
# tests/data/fuzz/NAME/, the small test files of its format, and the corpus's
# files of that format when ../shared/corpus is there. New inputs are kept in
# BUILD/fuzz-seeds/NAME/, crashes in BUILD/crashes/. Once a crash is mended,
# turn it into a regression test of what it broke.
#   tools/run_fuzzers.sh BUILD SECONDS [NAME...]
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:?build folder}
secondes=${2:-60}
shift 2 || shift $#
corpus=${RUZO_CORPUS_DIR:-../shared/corpus}

cibles=("$@")
if [ ${#cibles[@]} -eq 0 ]; then
  for programme in "$build"/*_fuzz; do [ -x "$programme" ] && cibles+=("$(basename "$programme" _fuzz)"); done
fi
[ ${#cibles[@]} -eq 0 ] && { echo "run_fuzzers: no fuzz target in $build" >&2; exit 2; }

# Copies the files matching a pattern (small ones only) into a seed folder.
graines() {
  local dossier=$1; shift
  find "$@" -maxdepth 1 -type f -size -300k -exec cp {} "$dossier" \; 2>/dev/null || true
}

mkdir -p "$build/crashes"
echoues=()
for nom in "${cibles[@]}"; do
  dossier="$build/fuzz-seeds/$nom"
  mkdir -p "$dossier"
  [ -d "tests/data/fuzz/$nom" ] && graines "$dossier" "tests/data/fuzz/$nom"
  longueur=4096
  case $nom in
    bmp_loader)  graines "$dossier" "$corpus/formats" -name '*.bmp'; longueur=65536 ;;
    tiff_loader) graines "$dossier" "$corpus/formats" -name '*.tif'; longueur=65536 ;;
    png_loader)  graines "$dossier" tests/data/fuzz -name '*.png'; longueur=65536 ;;
    jpeg_loader) graines "$dossier" tests/data/fuzz -name '*.jpg'; longueur=65536 ;;
    pict_loader) graines "$dossier" tests/data/fuzz -name '*.pict'; longueur=65536 ;;
    result_file) graines "$dossier" tests/data -name '*.msb'; longueur=8192 ;;
    keyword_readers) graines "$dossier" tests/golden -name '*.msf' ;;
    matchers) longueur=1200 ;;
    settings_files) longueur=2048 ;;
  esac
  options=(-max_total_time="$secondes" -max_len="$longueur" -rss_limit_mb=2048
           -artifact_prefix="$build/crashes/$nom-" -print_final_stats=1)
  [ -f "tests/fuzz/$nom.dict" ] && options+=(-dict="tests/fuzz/$nom.dict")
  echo "== $nom: $secondes s, $(find "$dossier" -type f | wc -l) seeds"
  if ! "$build/${nom}_fuzz" "${options[@]}" "$dossier" > "$build/fuzz-$nom.log" 2>&1; then
    echoues+=("$nom")
    tail -n 30 "$build/fuzz-$nom.log"
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$build/fuzz-$nom.log" | tr '\n' ' '
  echo
done
if [ ${#echoues[@]} -gt 0 ]; then
  echo "run_fuzzers: crashes in ${echoues[*]}; see $build/crashes/ and $build/fuzz-NAME.log" >&2
  exit 1
fi
