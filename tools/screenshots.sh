#!/bin/sh
# Saves a picture of every page of the main window (empty, filled in, and with the example job
# opened), of the list bar's Help group, the drive list and the menus, rendered on a virtual X
# display.
#   tools/screenshots.sh OUTPUT_DIR [BUILD_DIR]
# Needs xvfb-run (Debian packages xvfb and xauth). BUILD_DIR defaults to ./build.
set -eu

if [ $# -lt 1 ]; then
    echo "usage: $0 OUTPUT_DIR [BUILD_DIR]" >&2
    exit 2
fi
out=$1
build=${2:-build}
source_dir=$(cd "$(dirname "$0")/.." && pwd)

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$source_dir" -B "$build"
fi
cmake --build "$build" --target test_window_layout -j2

mkdir -p "$out"
out=$(cd "$out" && pwd)
# The example job gives the pages real content.
bash "$source_dir/examples/prepare.sh" >/dev/null
KESTO_EXAMPLE_JOB=$source_dir/examples/job.kst KESTO_SCREENSHOT_DIR=$out QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1024x768x24" "$build/bin/test_window_layout" >/dev/null
ls "$out"/*.png
