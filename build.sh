#!/usr/bin/env bash
# Quick start:  ./build.sh example   builds and packages the bundled example for real
#               ./build.sh test      builds and runs every test (plain and sanitized builds)
# Benchmarks:   ./build.sh bench [options of bench/run.sh]   (see bench/README.md)
set -euo pipefail
cd "$(dirname "$0")"
here=$(pwd)

packages=(build-essential cmake pkg-config qt6-base-dev qt6-multimedia-dev qt6-tools-dev qt6-l10n-tools
    libzip-dev 7zip zip unzip par2
    # the installation test and the Debian package
    desktop-file-utils appstream shared-mime-info libxml2-utils man-db dpkg-dev file)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if ((${#missing[@]})); then
        local sudo=()
        [ "$(id -u)" -eq 0 ] || sudo=(sudo)
        "${sudo[@]}" apt-get update
        DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y "${missing[@]}"
    fi
}

build() { # build dir, extra cmake args...
    local dir=$1
    shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j"$(nproc)" ${targets:+--target $targets}
}

example() {
    # The program and its helpers only: the tests take most of a full build.
    targets="kesto32 wrar size" build build
    bash examples/prepare.sh
    rm -f examples/out/*.zip
    # The job runs unattended: no window appears, the program ends when the archives are written.
    build/bin/kesto32 "!$here/examples/job.kst"
    echo "Archives written to examples/out:"
    ls -l examples/out
    for zip in examples/out/*.zip; do unzip -l "$zip"; done
}

tests() {
    build build
    (cd build && ctest --output-on-failure -j2)
    build build-asan -DKESTO_SANITIZE=ON
    (cd build-asan && ctest --output-on-failure -j2)
}

bench() {
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build -j"$(nproc)" --target kesto32 wrar size make_tree
    bench/run.sh "$@"
}

install_missing
case "${1:-}" in
example) example ;;
test) tests ;;
bench)
    shift
    bench "$@"
    ;;
*)
    echo "usage: $0 example|test|bench [bench options]" >&2
    exit 64
    ;;
esac
