#!/usr/bin/env bash
# Runs the desktop program's windows under a virtual X server and saves
# screenshots: the main window after recognising a page, an area being
# drawn, the options and the preferences dialogs, the window after opening a
# two-page PDF of the page (made with img2pdf), and the Acquire dialog.
# Usage: tools/desktop_screenshots.sh [PAGE.png] [OUTPUT_FOLDER]
# (default: a corpus page when the corpus is there, else the sample page;
# build/screenshots). Run from the top of the tree after building.
set -euo pipefail
cd "$(dirname "$0")/.."
corpus_page=../shared/corpus/pages/fife_chester/musescore/page-1.png
page=${1:-$([ -f "$corpus_page" ] && echo "$corpus_page" || echo tests/data/sample-page.png)}
out=${2:-build/screenshots}
cmake --build build --target ruzo_desktop_screenshots >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$page" "$work/page.png"
img2pdf "$work/page.png" "$work/page.png" -o "$work/score.pdf"
mkdir -p "$out"
RUZO_HOME="$work/home" xvfb-run -a -s "-screen 0 1400x1000x24" \
  build/src/desktop/ruzo_desktop_screenshots "$work/page.png" "$out" "$work/score.pdf"
