#!/bin/sh
# Installs the build into a scratch DESTDIR as a package would, checks the desktop files and man
# pages with the validators a distribution uses, and runs the installed program on a small job:
# it must find its helpers in libexec, not beside itself, and its catalogues in share.
#   tests/install_check.sh BUILD_DIR
set -eu
build=$1

for tool in desktop-file-validate appstreamcli xmllint update-mime-database man unzip 7zz; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
share=$root/usr/share

desktop-file-validate "$share/applications/org.kesto32.Kesto32.desktop"
appstreamcli validate --no-net --strict "$share/metainfo/org.kesto32.Kesto32.metainfo.xml"

# The MIME type must survive the database build and map *.kst to it.
xmllint --noout "$share/mime/packages/kesto32.xml"
mkdir -p "$work/mime/packages"
cp "$share/mime/packages/kesto32.xml" "$work/mime/packages/"
XDG_DATA_DIRS=$work update-mime-database "$work/mime" 2>"$work/mime.err"
[ ! -s "$work/mime.err" ] || { cat "$work/mime.err" >&2; exit 1; }
grep -q '^[0-9]*:application/x-kesto32-script:\*\.kst$' "$work/mime/globs2"

for page in "$share/man/man1/kesto32.1.gz" "$share/man/man5/kesto32.kst.5.gz"; do
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>"$work/man.err" >/dev/null
    [ ! -s "$work/man.err" ] || { echo "$page:" >&2; cat "$work/man.err" >&2; exit 1; }
done

# A job of two volumes; the program's own directory gets nothing, the XDG directories get
# what it keeps.
job=$work/job
mkdir -p "$job/src" "$job/out"
head -c 700000 /dev/urandom >"$job/src/data.bin"
printf 'My tool\r\nDisk: xxxxxxx\r\n' >"$job/file_id.diz"
printf 'About my tool\r\n' >"$job/about.nfo"
line() { printf '%s\r\n' "$1"; }
{
    line "Kesto32 script - 12-05-2026  12:00:00"
    line "Source: $job/src"
    line "Skip: "
    line ""
    line "Diz: $job/file_id.diz"
    line "AutoN: True"
    line "Col: 7"
    line "Lin: 2"
    line "Nfo: $job/about.nfo"
    line " 1st: 0"
    line " File:False"
    line " Extra:"
    line "Zip: $job/out"
    line " name:tool"
    line " Size: 1"
    line " Solid: 0"
    line " Extra: 0"
} >"$job/job.kst"

mkdir -p "$work/tmp"
status=0
(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u KESTO32_SYSTEM_DIR \
    PATH=/usr/bin:/bin TMPDIR="$work/tmp" XDG_CACHE_HOME="$work/cache" \
    XDG_DATA_HOME="$work/data" "$root/usr/bin/kesto32" "!$job/job.kst") 2>"$work/run.err" ||
    status=$?
cat "$work/run.err" >&2
[ "$status" -eq 0 ] || { echo "installed kesto32 ended with status $status" >&2; exit 1; }
# A helper missing from libexec is not found, or is binutils' size on PATH.
if grep -Eq 'cannot be found|ended with status' "$work/run.err"; then exit 1; fi
[ "$(ls "$job/out")" = "$(printf 'tool001.zip\ntool002.zip')" ]
for zip in "$job/out"/*.zip; do unzip -tq "$zip"; done
# The installed program finds its German catalogue in share/kesto32/translations.
sed 's/^Lin: 2/Lin: 9/' "$job/job.kst" >"$job/german.kst"
(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u KESTO32_SYSTEM_DIR \
    -u LC_ALL -u LC_MESSAGES PATH=/usr/bin:/bin LANGUAGE=de TMPDIR="$work/tmp" \
    XDG_CACHE_HOME="$work/cache" XDG_DATA_HOME="$work/data" "$root/usr/bin/kesto32" \
    "!$job/german.kst") 2>"$work/german.err" || true
grep -q 'Zeilennummer zu groß' "$work/german.err" || { cat "$work/german.err" >&2; exit 1; }
[ "$(ls "$root/usr/bin")" = kesto32 ]
[ "$(stat -c %a "$work/cache/kesto32")" = 700 ]
[ -d "$work/data/kesto32" ]
echo "installed files and program: ok"
