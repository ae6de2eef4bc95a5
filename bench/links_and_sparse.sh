#!/usr/bin/env bash
# One packaging run of a hostile tree, too slow for CI: a 5 GiB sparse file, a loop, links to a
# folder and a file outside the tree. Checks that links are stored as links, that 7-Zip gives
# the tree back exactly, whether any zip entry needed zip64, that the size report agrees with
# the archive, and reports the peak memory of kesto32.
#
#   bench/links_and_sparse.sh [--build DIR] [--work DIR] [--gib N]
#
# Needs about N GiB free in the work directory (the unpacked sparse file is written out).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$here/build
work=
gib=5
while (($#)); do
    case $1 in
    --build) build=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --gib) gib=$2; shift 2 ;;
    -h | --help) sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "bench: unknown option $1" >&2; exit 64 ;;
    esac
done
bin=$(cd "$build" && pwd)/bin
work=${work:-$(cd "$build" && pwd)/bench-links}
rm -rf "$work"
mkdir -p "$work"/{src/sub,outside,out,sys,app,unzipped,x}
cd "$work"

echo "a small text" > src/a.txt
head -c 100000 /dev/urandom > outside/big.bin
truncate -s "${gib}G" src/sparse.bin
ln -s .. src/sub/loop
ln -s ../outside src/outside
ln -s /etc/passwd src/passwd
printf 'Tool\r\nDisk xxx/xxx\r\n' > file_id.diz
printf 'About\r\n' > about.nfo

line() { printf '%s\r\n' "$1"; }
{
    line "Kesto32 script - 01-01-2026  00:00:00"
    line "Source: $work/src"
    line "Skip: "
    line ""
    line "Diz: $work/file_id.diz"
    line "AutoN: True"
    line "Col: 6"
    line "Lin: 2"
    line "Nfo: $work/about.nfo"
    line " 1st: 1"
    line " File:True"
    line " Extra:"
    line "Zip: $work/out"
    line " name:tool"
    line " Size: 200"
    line " Solid: 0"
    line " Extra: 0"
} > job.kst

export KESTO32_SYSTEM_DIR=$work/sys XDG_DATA_HOME=$work/app
start=$(date +%s)
# kesto32's own peak (VmHWM at its last timing mark); an outside measurement through wait4 would
# include 7-Zip's, since kesto32 waits for it.
KESTO32_TIMINGS=1 "$bin/kesto32" "!$work/job.kst" 2> run.log || { cat run.log; exit 1; }
echo "run: $(($(date +%s) - start)) s, peak memory of kesto32: $(awk '$1 == "kesto32-timing" {kib = $4} END {print kib}' run.log) KiB"
ls -l out

for zip in out/*.zip; do
    unzip -tq "$zip" >/dev/null
    unzip -qo "$zip" -d unzipped
    # zip64 is needed only for an entry or an archive of 4 GiB or more.
    if zipinfo -v "$zip" | grep -q 'Zip64'; then echo "$zip: zip64"; else echo "$zip: no zip64 needed"; fi
done
first=$(ls unzipped | grep -E '\.(001|rar)$' | head -1)
7zz l -slt "unzipped/$first" > listing.txt
7zz x -snld20 -y -ox "unzipped/$first" >/dev/null

# Links as links, with their own targets (7-Zip re-roots an absolute one where it unpacks, so
# that one is read from the archive itself).
[ "$(readlink x/src/sub/loop)" = ".." ] && [ "$(readlink x/src/outside)" = "../outside" ]
[ "$(7zz x -so "unzipped/$first" src/passwd 2>/dev/null)" = "/etc/passwd" ]
[ ! -e x/src/outside/big.bin ] || [ -L x/src/outside ]
cmp src/a.txt x/src/a.txt
[ "$(stat -c %s x/src/sparse.bin)" = "$(stat -c %s src/sparse.bin)" ]
cmp src/sparse.bin x/src/sparse.bin
echo "links stored as links, exact round trip with 7zz x"

sizeTotal=$("$bin/size" "$work/src" /s /t | tail -1 | sed 's/^ *//')
echo "size report: $sizeTotal"
echo "7-Zip listing: $(7zz l "unzipped/$first" | tail -1 | sed 's/^ *//')"
rm -rf x unzipped
