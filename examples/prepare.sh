#!/usr/bin/env bash
# Makes the example ready to run: a data file large enough for several volumes, the output
# directory, and job.kst with this clone's absolute paths (scripts hold absolute paths).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

mkdir -p "$here/source/media" "$here/out"
# Incompressible data, so the release needs three volumes of 500,000 bytes.
if [ ! -f "$here/source/media/noise.bin" ]; then
    head -c 1200000 /dev/urandom > "$here/source/media/noise.bin"
fi

line() { printf '%s\r\n' "$1"; }
{
    line "Kesto32 script - $(date '+%m-%d-%Y  %H:%M:%S')"
    line "Source: $here/source"
    line "Skip: "
    line "$here/source/scratch/*.*"
    line ""
    line "Diz: $here/file_id.diz"
    line "AutoN: True"
    line "Col: 8"
    line "Lin: 3"
    line "Nfo: $here/example.nfo"
    line " 1st: 1"
    line " File:True"
    line " Extra:$here/extra/readme-first.txt"
    line "Zip: $here/out"
    line " name:example"
    line " Size: 1"
    line " Solid: 0"
    line " Extra: 0"
} > "$here/job.kst"
echo "Example job written to $here/job.kst"
