#!/bin/sh
# Saves a picture of every page of the main window (empty, filled in, and with the example job
# opened), of the list bar's Help group, the menus and the logo pointer.
#   tools/screenshots.sh OUTPUT_DIR [BUILD_DIR]
# BUILD_DIR defaults to ./build.
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
cmake --build "$build" --target screenshots size -j2

# The example job gives the pages real content.
bash "$source_dir/examples/prepare.sh" >/dev/null
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bin/screenshots" "$out" "$source_dir/examples/job.kst"
ls "$out"/*.png
