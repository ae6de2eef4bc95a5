#!/usr/bin/env bash
# Builds the program and its helpers in BUILD_DIR (not the tests) and the Debian package from
# them, checks the package with lintian (no error allowed), installs it with apt-get, packages a copy of the
# example with the installed /usr/bin/kesto32 from a directory that holds no build, checks the
# archives as a recipient would, and removes the package again. Run as root (CI).
#   tools/check-package.sh [BUILD_DIR, default: build]
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)

cmake --build "$build" --target kesto32 wrar size >/dev/null
(cd "$build" && rm -f kesto32_*.deb && cpack -G DEB >/dev/null)
deb=$(echo "$build"/kesto32_*.deb)
dpkg-deb --field "$deb" Package Version Depends
# Errors fail the check; the warnings left are listed with their reasons in packaging.cmake.
lintian --fail-on error "$deb"
DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb" >/dev/null

work=$(mktemp -d)
trap 'cd /; rm -rf "$work"; DEBIAN_FRONTEND=noninteractive apt-get remove -y kesto32 >/dev/null' EXIT
cp -r "$source_dir/examples" "$work/example"
rm -rf "$work/example/out" "$work/example/job.kst"
bash "$work/example/prepare.sh" >/dev/null # the job now names the copies
cd "$work"
mkdir tmp
# Its own TMPDIR: an instance of the program that runs elsewhere for this user is not seen.
env -u DISPLAY -u WAYLAND_DISPLAY -u KESTO32_SYSTEM_DIR TMPDIR="$work/tmp" \
    XDG_CACHE_HOME="$work/cache" XDG_DATA_HOME="$work/data" /usr/bin/kesto32 \
    "!$work/example/job.kst" 2>run.err || status=$?
cat run.err >&2
[ "${status:-0}" -eq 0 ]
# A helper not found in /usr/libexec/kesto32, or binutils' /usr/bin/size run in its place.
if grep -Eq 'cannot be found|ended with status' run.err; then exit 1; fi

mkdir unpacked
for zip in example/out/*.zip; do
    unzip -tq "$zip"
    unzip -oq "$zip" -d unpacked
done
7zz t unpacked/example.001 >/dev/null
echo "package $(basename "$deb"): installed, ran the example, archives ok"
