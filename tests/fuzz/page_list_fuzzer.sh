#!/usr/bin/env bash
# Builds the page list fuzz target into build-fuzz/ and runs it for SECONDS
# seconds (default 180), seeded with a page list written by Ruzo. Crashes are
# left in build-fuzz/crashes/; once fixed, add them to the normal suite.
#   tests/fuzz/page_list_fuzzer.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/../.."
secondes=${1:-180}
sortie=build-fuzz
mkdir -p "$sortie/crashes" "$sortie/graines_page_list"
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc \
  tests/fuzz/page_list_fuzz.cpp src/recognition/page_list_reader.cpp \
  src/recognition/page_list_file.cpp src/recognition/command_area_file.cpp \
  src/recognition/document.cpp src/records/page_entry.cpp src/document/keyword_stream.cpp src/document/keyword_file.cpp \
  src/document/options_file.cpp src/records/options.cpp src/document/named_settings.cpp \
  src/document/file_names.cpp src/image/temporary_files.cpp src/image/offscreen.cpp \
  src/toolbox/pixmap.cpp src/toolbox/messages.cpp src/toolbox/folders.cpp \
  tests/fuzz/page_list_fuzz_stubs.cpp -o "$sortie/page_list_fuzz"
cp tests/data/fuzz/page_list/*.lfs "$sortie/graines_page_list/" 2>/dev/null || true
"$sortie/page_list_fuzz" -max_total_time="$secondes" -max_len=4096 -rss_limit_mb=2048 \
  -dict=tests/fuzz/page_list.dict -artifact_prefix="$sortie/crashes/page_list-" \
  "$sortie/graines_page_list" || true
