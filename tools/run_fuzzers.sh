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
seconds=${2:-60}
shift 2 || shift $#
corpus=${RUZO_CORPUS_DIR:-../shared/corpus}

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for program in "$build"/*_fuzz; do [ -x "$program" ] && targets+=("$(basename "$program" _fuzz)"); done
fi
[ ${#targets[@]} -eq 0 ] && { echo "run_fuzzers: no fuzz target in $build" >&2; exit 2; }

# Copies the files matching a pattern (small ones only) into a seed folder.
copy_seeds() {
  local folder=$1; shift
  find "$@" -maxdepth 1 -type f -size -300k -exec cp {} "$folder" \; 2>/dev/null || true
}

mkdir -p "$build/crashes"
failed=()
for name in "${targets[@]}"; do
  folder="$build/fuzz-seeds/$name"
  mkdir -p "$folder"
  [ -d "tests/data/fuzz/$name" ] && copy_seeds "$folder" "tests/data/fuzz/$name"
  max_len=4096
  case $name in
    bmp_loader)  copy_seeds "$folder" "$corpus/formats" -name '*.bmp'; max_len=65536 ;;
    tiff_loader) copy_seeds "$folder" "$corpus/formats" -name '*.tif'; max_len=65536 ;;
    png_loader)  copy_seeds "$folder" tests/data/fuzz -name '*.png'; max_len=65536 ;;
    jpeg_loader) copy_seeds "$folder" tests/data/fuzz -name '*.jpg'; max_len=65536 ;;
    pict_loader) copy_seeds "$folder" tests/data/fuzz -name '*.pict'; max_len=65536 ;;
    result_file) copy_seeds "$folder" tests/data -name '*.msb'; max_len=8192 ;;
    keyword_readers) copy_seeds "$folder" tests/golden -name '*.msf' ;;
    matchers) max_len=1200 ;;
    settings_files) max_len=2048 ;;
  esac
  options=(-max_total_time="$seconds" -max_len="$max_len" -rss_limit_mb=2048
           -artifact_prefix="$build/crashes/$name-" -print_final_stats=1)
  [ -f "tests/fuzz/$name.dict" ] && options+=(-dict="tests/fuzz/$name.dict")
  echo "== $name: $seconds s, $(find "$folder" -type f | wc -l) seeds"
  if ! "$build/${name}_fuzz" "${options[@]}" "$folder" > "$build/fuzz-$name.log" 2>&1; then
    failed+=("$name")
    tail -n 30 "$build/fuzz-$name.log"
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$build/fuzz-$name.log" | tr '\n' ' '
  echo
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "run_fuzzers: crashes in ${failed[*]}; see $build/crashes/ and $build/fuzz-NAME.log" >&2
  exit 1
fi
