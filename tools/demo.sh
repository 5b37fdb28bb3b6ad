#!/usr/bin/env bash
# Runs the main job on the bundled sample page.
set -euo pipefail
build=${1:-build}
"$build/ruzo" demo
