#!/usr/bin/env bash
# Builds the fuzz targets with clang (build-fuzz/) and runs each for a bounded time.
#   tests/fuzz/run.sh [seconds per target, default 30]
# Fails on a crash, a sanitizer report, a leak or an input that runs longer than 10 s; the input
# is kept as build-fuzz/<target>-crash-... (or timeout-..., leak-...) to replay:
#   build-fuzz/bin/fuzz_<target> <file>
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-30}
build=build-fuzz

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTO_FUZZ=ON \
    >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_script fuzz_wrar fuzz_command_line

for target in script wrar command_line; do
    # New inputs go to a scratch directory; the seed corpus in the repository stays as it is.
    scratch=$(mktemp -d)
    echo "fuzz_$target: $seconds s"
    status=0
    "$build/bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/$target-" \
        "$scratch" "tests/fuzz/corpus/$target" >"$build/$target.log" 2>&1 || status=$?
    rm -rf "$scratch"
    if [ "$status" -ne 0 ]; then
        tail -n 60 "$build/$target.log"
        echo "fuzz_$target failed (status $status); the input is in $build/" >&2
        exit 1
    fi
    grep -E '^(Done|stat::)' "$build/$target.log"
done
