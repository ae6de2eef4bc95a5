#!/usr/bin/env bash
# Builds the Debian package from BUILD_DIR, installs it with apt-get, packages a copy of the
# example with the installed /usr/bin/kesto32 from a directory that holds no build, checks the
# archives as a recipient would, and removes the package again. Run as root (CI).
#   tools/check-package.sh [BUILD_DIR, default: build]
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)

(cd "$build" && rm -f kesto32_*.deb && cpack -G DEB >/dev/null)
deb=$(echo "$build"/kesto32_*.deb)
dpkg-deb --field "$deb" Package Version Depends
DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb" >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"; DEBIAN_FRONTEND=noninteractive apt-get remove -y kesto32 >/dev/null' EXIT
cp -r "$source_dir/examples" "$work/example"
rm -rf "$work/example/out" "$work/example/job.kst"
bash "$work/example/prepare.sh" >/dev/null # the job now names the copies
cd "$work"
env -u DISPLAY -u WAYLAND_DISPLAY -u KESTO32_SYSTEM_DIR XDG_CACHE_HOME="$work/cache" \
    XDG_DATA_HOME="$work/data" /usr/bin/kesto32 "!$work/example/job.kst"

mkdir unpacked
for zip in example/out/*.zip; do
    unzip -tq "$zip"
    unzip -oq "$zip" -d unpacked
done
7zz t unpacked/example.001 >/dev/null
echo "package $(basename "$deb"): installed, ran the example, archives ok"
