#!/bin/sh
# Saves a picture of every page of the main window (empty, filled in, and with the example job
# opened), of the list bar's Help group, the menus and the logo pointer.
#   tools/screenshots.sh OUTPUT_DIR [BUILD_DIR]
# With --desktop first: the pictures of docs/screenshots (a run of a copy of the example job, a
# failure with its reason, the Plan and Verify dialogs, the dark theme's link panels), three
# times the window's size; run it under xvfb-run -a.
# BUILD_DIR defaults to ./build.
set -eu

desktop=
if [ "${1:-}" = --desktop ]; then
    desktop=1
    shift
fi

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

if [ -n "$desktop" ]; then
    # A copy of the example, its own system and data directories: the repository stays clean.
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    cp -r "$source_dir/examples" "$scratch/kesto32-example"
    rm -rf "$scratch/kesto32-example/out"
    bash "$scratch/kesto32-example/prepare.sh" >/dev/null
    mkdir -m 700 "$scratch/sys"
    KESTO32_SYSTEM_DIR="$scratch/sys" XDG_DATA_HOME="$scratch/data" \
        "$build/bin/screenshots" --desktop "$out" "$scratch/kesto32-example/job.kst"
    ls "$out"/*.png
    exit 0
fi

# The example job gives the pages real content.
bash "$source_dir/examples/prepare.sh" >/dev/null
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bin/screenshots" "$out" "$source_dir/examples/job.kst"
ls "$out"/*.png
