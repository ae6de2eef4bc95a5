# The benchmark's series, shared by the scripts that measure work on a finished series
# (bench/verify.sh, bench/recovery.sh). Sourced after the options; bench_setup sets $bin and
# $work, the scripts set $size (MB of the tree).

now() { local t=${EPOCHREALTIME/[.,]/}; echo $((10#$t)); }
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
crlf() { printf '%s\r\n' "$@"; }

# After the options: $bin and $work (default <build>/$1) from $build, the programs of the build
# and the outside programs named after $1 checked, $work made.
bench_setup() {
    local tool
    build=$(cd "$build" && pwd)
    bin=$build/bin
    work=${work:-$build/$1}
    shift
    for tool in kesto32 wrar size make_tree; do
        [ -x "$bin/$tool" ] || { echo "bench: $bin/$tool is missing; build first" >&2; exit 1; }
    done
    for tool; do
        command -v "$tool" >/dev/null || { echo "bench: $tool is missing" >&2; exit 1; }
    done
    mkdir -p "$work"
    work=$(cd "$work" && pwd)
}

# The tree and the benchmark's job (10,000,000-byte volumes, numbered description, nfo, extra)
# in $work: source/, job.kst, an empty out/ and system/.
bench_job() {
    rm -rf "$work/source" "$work/out" "$work/system"
    mkdir -p "$work/out" "$work/system"
    "$bin/make_tree" "$work/source" --size "$size" >/dev/null
    crlf "Benchmark release" "=================" "Disk  xxxxxxx" "" "A tree made by bench/make_tree." >"$work/file_id.diz"
    crlf "Benchmark release notes" >"$work/bench.nfo"
    crlf "Read the nfo first." >"$work/extra.txt"
    {
        crlf "Kesto32 script - $(date '+%m-%d-%Y  %H:%M:%S')"
        crlf "Source: $work/source" "Skip: " ""
        crlf "Diz: $work/file_id.diz" "AutoN: True" "Col: 7" "Lin: 3"
        crlf "Nfo: $work/bench.nfo" " 1st: 0" " File:True" " Extra:$work/extra.txt"
        crlf "Zip: $work/out" " name:bench" " Size: 20" " Solid: 0" " Extra: 0"
    } >"$work/job.kst"
}

# The job, then one unattended run of it into out/ with the options given.
bench_series() {
    bench_job
    KESTO32_SYSTEM_DIR=$work/system "$bin/kesto32" "$@" "!$work/job.kst"
}
