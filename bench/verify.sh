#!/usr/bin/env bash
# Measures `kesto32 --verify` on a finished series against `7zz t` on its volumes alone, the
# least a check of the set can cost; then `kesto32 --verify --against` on a series of many small
# files against `7zz x` + `diff -r`, what a recipient would do by hand. See bench/README.md.
#
#   bench/verify.sh [--size MB] [--files N] [--runs N] [--work DIR] [--build DIR]
#
#   --size MB    size of the generated tree (default 60)
#   --files N    small files of the tree for --against (default 50000; 0 leaves it out)
#   --runs N     runs of each command, alternating (default 5)
#   --work DIR   where the tree, the job and the series go (default: <build dir>/bench-verify)
#   --build DIR  the build with kesto32, wrar, size and make_tree in bin/ (default: build)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

size=60
files=50000
runs=5
work=
build=$here/build
while (($#)); do
    case $1 in
    --size) size=$2; shift 2 ;;
    --files) files=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    -h | --help) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "bench: unknown option $1" >&2; exit 64 ;;
    esac
done
. "$here/bench/series.sh"
bench_setup bench-verify 7zz
rm -rf "$work/volumes"
mkdir -p "$work/volumes"
bench_series --checksums
# The volumes alone, as a recipient who unzipped them would hold them.
for archive in "$work/out"/bench*.zip; do
    unzip -qo "$archive" 'bench.[0-9]*' -d "$work/volumes"
done
count=$(ls "$work/out"/bench*.zip | wc -l)
bytes=$(cat "$work/volumes"/bench.* | wc -c)
echo "Series: $count archives, $bytes bytes of volumes, from a $size MB tree"

verify=() sevenZip=()
for ((run = 1; run <= runs; run++)); do
    start=$(now)
    "$bin/kesto32" --verify "$work/out/bench001.zip" >/dev/null
    verify+=($((($(now) - start) / 1000)))
    start=$(now)
    7zz t -t7z.split "$work/volumes/bench.001" >/dev/null
    sevenZip+=($((($(now) - start) / 1000)))
    echo "  run $run: --verify ${verify[-1]} ms, 7zz t ${sevenZip[-1]} ms"
done
v=$(median "${verify[@]}")
s=$(median "${sevenZip[@]}")
echo "Medians: --verify $v ms, 7zz t $s ms, ratio $(ratio "$v" "$s") (goal: at most 1.5)"
rm -rf "$work/source" "$work/system"

# --against: many small files, links among them.
((files > 0)) || exit 0
rm -rf "$work/small" "$work/small-out" "$work/small-volumes" "$work/unpacked" "$work/system"
mkdir -p "$work/small-out" "$work/small-volumes" "$work/system"
for ((i = 0; i < files; i++)); do
    ((i % 100 == 0)) && mkdir -p "$work/small/dir$((i / 100))"
    printf 'file %d of the benchmark, %d\n' "$i" "$((i * 7919))" >"$work/small/dir$((i / 100))/file $i.txt"
done
ln -s "file 0.txt" "$work/small/dir0/link"
{
    crlf "Kesto32 script - $(date '+%m-%d-%Y  %H:%M:%S')"
    crlf "Source: $work/small" "Skip: " ""
    crlf "Diz: $work/file_id.diz" "AutoN: False" "Col: 7" "Lin: 3"
    crlf "Nfo: $work/bench.nfo" " 1st: 0" " File:True" " Extra:$work/extra.txt"
    crlf "Zip: $work/small-out" " name:small" " Size: 1" " Solid: 0" " Extra: 0"
} >"$work/small.kst"
KESTO32_SYSTEM_DIR=$work/system "$bin/kesto32" "!$work/small.kst"
for archive in "$work/small-out"/small*.zip; do
    unzip -qo "$archive" 'small.[0-9]*' -d "$work/small-volumes"
done
count=$(ls "$work/small-out"/small*.zip | wc -l)
echo "Small files: $files files in $count archives"

against=() byHand=()
for ((run = 1; run <= runs; run++)); do
    start=$(now)
    "$bin/kesto32" --verify "$work/small-out/small001.zip" --against "$work/small" >/dev/null
    against+=($((($(now) - start) / 1000)))
    start=$(now)
    7zz x -t7z.split -o"$work/unpacked" "$work/small-volumes/small.001" >/dev/null
    diff -r "$work/unpacked/small" "$work/small"
    byHand+=($((($(now) - start) / 1000)))
    rm -rf "$work/unpacked"
    echo "  run $run: --verify --against ${against[-1]} ms, 7zz x + diff -r ${byHand[-1]} ms"
done
a=$(median "${against[@]}")
h=$(median "${byHand[@]}")
echo "Medians: --verify --against $a ms, 7zz x + diff -r $h ms, ratio $(ratio "$a" "$h") (goal: at most 1.5)"
rm -rf "$work/small" "$work/system"
