#!/usr/bin/env bash
# Builds the PDF import fuzz target into build-fuzz/ and runs it for SECONDS
# seconds (default 120), seeded with small PDFs made by img2pdf and qpdf.
#   tests/fuzz/pdf_fuzzer.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/../.."
secondes=${1:-120}
sortie=build-fuzz
mkdir -p "$sortie/crashes" "$sortie/graines_pdf"
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc \
  tests/fuzz/pdf_import_fuzz.cpp src/pdf/pdf_document.cpp src/pdf/page_raster.cpp \
  src/pdf/embedded_scan.cpp src/pdf/page_rendering.cpp src/pdf/gray_image.cpp \
  $(pkg-config --cflags --libs poppler-glib) -o "$sortie/pdf_import_fuzz"
graines="$sortie/graines_pdf"
convert -size 64x48 xc:white -fill black -draw "line 4,10 60,10" -type bilevel "$graines/nb.png"
convert -size 64x48 gradient: "$graines/gris.png"
img2pdf "$graines/nb.png" -o "$graines/nb.pdf"
img2pdf "$graines/gris.png" "$graines/nb.png" -o "$graines/deux.pdf"
qpdf --empty "$graines/vide.pdf"
qpdf --encrypt u o 256 -- "$graines/nb.pdf" "$graines/secret.pdf"
rm -f "$graines"/*.png
"$sortie/pdf_import_fuzz" -max_total_time="$secondes" -max_len=16384 -rss_limit_mb=2048 \
  -artifact_prefix="$sortie/crashes/pdf_import-" "$graines" || true
