#!/usr/bin/env bash
# Builds the image loader fuzz targets into build-fuzz/ and runs each for
# SECONDS seconds (default 180), seeded with the corpus files of its format.
# Crashes are left in build-fuzz/crashes/; once fixed, turn each into a
# regression test of its loader. tests/data/fuzz/ holds small seed files.
#   tests/fuzz/image_fuzzers.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/../.."
secondes=${1:-180}
shift || true
cibles=("$@")
[ ${#cibles[@]} -eq 0 ] && cibles=(bmp_loader tiff_loader pict_loader png_loader jpeg_loader)
sortie=build-fuzz
mkdir -p "$sortie/crashes"
sources=(src/image/offscreen.cpp src/image/temporary_files.cpp src/image/colour_conversion.cpp
         src/toolbox/pixmap.cpp src/toolbox/messages.cpp src/toolbox/folders.cpp src/toolbox/png_io.cpp
         src/toolbox/system.cpp)
corpus=../shared/corpus
for cible in "${cibles[@]}"; do
  clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc \
    "tests/fuzz/${cible}_fuzz.cpp" "src/image/${cible}.cpp" "${sources[@]}" \
    -ltiff -lpng -ljpeg -o "$sortie/${cible}_fuzz"
  graines="$sortie/graines_$cible"
  mkdir -p "$graines"
  case $cible in
    bmp_loader) cp tests/data/fuzz/*.bmp "$graines" 2>/dev/null || true; find $corpus/formats -name '*.bmp' -size -200k -exec cp {} "$graines" \; 2>/dev/null || true ;;
    tiff_loader) cp $corpus/formats/*.tif "$graines" 2>/dev/null || true ;;
    pict_loader) cp tests/data/fuzz/*.pict "$graines" 2>/dev/null || true ;;
    png_loader) cp tests/data/fuzz/*.png "$graines" 2>/dev/null || true ;;
    jpeg_loader) cp tests/data/fuzz/*.jpg "$graines" 2>/dev/null || true ;;
  esac
  "$sortie/${cible}_fuzz" -max_total_time="$secondes" -max_len=65536 -rss_limit_mb=2048 \
    -artifact_prefix="$sortie/crashes/${cible}-" "$graines" || true
done
