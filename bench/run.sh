#!/usr/bin/env bash
# Measures a packaging run against 7-Zip alone and against the hand-made pipeline (7-Zip, then
# Info-ZIP's zip per volume). See bench/README.md.
#
#   bench/run.sh [--size MB] [--runs N] [--big-factor F] [--work DIR] [--build DIR]
#
#   --size MB        size of the generated tree (default 60)
#   --runs N         runs of each command, alternating (default 3)
#   --big-factor F   also one run on a tree F times larger, for peak memory (default 5; 0: none)
#   --work DIR       where trees, jobs and archives go (default: <build dir>/bench-work)
#   --build DIR      the build with kesto32, wrar, size and make_tree in bin/ (default: build)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

size=60
runs=3
bigFactor=5
work=
build=$here/build
while (($#)); do
    case $1 in
    --size) size=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --big-factor) bigFactor=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    -h | --help) sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "bench: unknown option $1" >&2; exit 64 ;;
    esac
done
[[ $size =~ ^[1-9][0-9]*$ && $runs =~ ^[1-9][0-9]*$ && $bigFactor =~ ^[0-9]+$ ]] || {
    echo "bench: size, runs and big factor are whole numbers" >&2
    exit 64
}
build=$(cd "$build" && pwd)
bin=$build/bin
work=${work:-$build/bench-work}
for tool in kesto32 wrar size make_tree; do
    [ -x "$bin/$tool" ] || { echo "bench: $bin/$tool is missing; build first (./build.sh bench)" >&2; exit 1; }
done
for tool in 7zz zip unzip awk; do
    command -v "$tool" >/dev/null || { echo "bench: $tool is missing" >&2; exit 1; }
done

mkdir -p "$work"
work=$(cd "$work" && pwd)
splashMs=2000

# Microseconds of the wall clock.
now() { local t=${EPOCHREALTIME/[.,]/}; echo $((10#$t)); }
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
seconds() { awk -v ms="$1" 'BEGIN { printf "%.2f s", ms / 1000 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

# --- the job ---------------------------------------------------------------------------------
job=$work/job
mkdir -p "$job"
crlf() { printf '%s\r\n' "$@"; }
crlf "Benchmark release" "=================" "Disk  xxxxxxx" "" "A tree made by bench/make_tree." >"$job/file_id.diz"
crlf "Benchmark release notes" "" "Nothing to see here: a few lines of text." >"$job/bench.nfo"
crlf "Read the nfo first." >"$job/extra.txt"
dizLine=3
dizColumn=7

writeJob() { # source, zip dir, script
    {
        crlf "Kesto32 script - $(date '+%m-%d-%Y  %H:%M:%S')"
        crlf "Source: $1"
        crlf "Skip: " ""
        crlf "Diz: $job/file_id.diz" "AutoN: True" "Col: $dizColumn" "Lin: $dizLine"
        crlf "Nfo: $job/bench.nfo" " 1st: 0" " File:True" " Extra:$job/extra.txt"
        # Size 20: volumes of 20 x 500,000 = 10,000,000 bytes; Extra 0: zip level 6.
        crlf "Zip: $2" " name:bench" " Size: 20" " Solid: 0" " Extra: 0"
    } >"$3"
}

makeTree() { # directory, MB
    rm -rf "$1"
    local start
    start=$(now)
    "$bin/make_tree" "$1" --size "$2" >/dev/null
    echo "  tree of $2 MB written to $1 in $(seconds $((($(now) - start) / 1000)))"
}

fresh() { rm -rf "$1"; mkdir -p "$1"; }

# --- (a) kesto32 -----------------------------------------------------------------------------
# Sets wall (ms) and the phases of the run from its timing lines.
declare -A mark rss
runKesto() { # script, zip dir, log
    fresh "$2"
    fresh "$work/system"
    # A temporary directory of its own: another instance of the program (of this user, in the
    # shared temporary directory) would take the job over and the run would do nothing.
    fresh "$work/tmp"
    local start
    start=$(now)
    TMPDIR=$work/tmp KESTO32_SYSTEM_DIR=$work/system KESTO32_TIMINGS=1 "$bin/kesto32" "!$1" 2>"$3" || {
        echo "bench: kesto32 failed:" >&2
        cat "$3" >&2
        exit 1
    }
    wall=$((($(now) - start) / 1000))
    mark=() rss=() sevenZipMs=0
    local tag phase ms kib
    while read -r tag phase ms kib; do
        case $tag in
        kesto32-timing) mark[$phase]=$ms rss[$phase]=$kib ;;
        wrar-timing) [ "$phase" = 7zz ] && sevenZipMs=$ms ;;
        esac
    done <"$3"
    for phase in start main-window-load archiver-start zip-start zip-end exit; do
        [ -n "${mark[$phase]:-}" ] || { echo "bench: no '$phase' mark in $3" >&2; exit 1; }
    done
}

# The 7-Zip command wrar ran, from the log of a run of (a).
sevenZip=()
readSevenZipCommand() { # log
    sevenZip=()
    local line
    while IFS= read -r line; do
        case $line in
        "wrar-7zz "*) sevenZip=("${line#wrar-7zz }") ;;
        "wrar-7zz-argument "*) sevenZip+=("${line#wrar-7zz-argument }") ;;
        esac
    done <"$1"
    ((${#sevenZip[@]} > 3)) || { echo "bench: no 7-Zip command in $1" >&2; exit 1; }
}

# The same command, writing <dir>/bench.001, ...: its switches and source, another archive.
sevenZipInto() { # dir
    local n=${#sevenZip[@]}
    [ "${sevenZip[n - 3]}" = "--" ] || { echo "bench: unexpected 7-Zip command: ${sevenZip[*]}" >&2; exit 1; }
    sevenZipRun=("${sevenZip[@]:0:n-2}" "$1/bench" "${sevenZip[n - 1]}")
}

checkArchives() { # zip dir, expected count
    local count=0
    for archive in "$1"/bench*.zip; do
        unzip -tqq "$archive" || { echo "bench: $archive is damaged" >&2; exit 1; }
        count=$((count + 1))
    done
    [ "$count" = "$2" ] || { echo "bench: $1 holds $count archives, not $2" >&2; exit 1; }
}

# --- the runs --------------------------------------------------------------------------------
echo "Kesto32 benchmark: ${size} MB tree, ${runs} runs of each command, alternating"
echo "  machine: $(nproc) cores, $(awk '/MemTotal/ { printf "%d MB", $2 / 1024 }' /proc/meminfo), load $(cut -d' ' -f1-3 /proc/loadavg)"
source=$work/source
makeTree "$source" "$size"
writeJob "$source" "$work/out-a" "$job/job.kst"

wallA=() wallB=() wallC=() phaseLines=() zipMs=() outsideMs=() outsideCMs=() shares=() peakA=()
sevenZipMsAll=()
volumeBytes=0 volumeCount=0
printf '\n  %-4s %14s %14s %14s\n' run "(a) kesto32" "(b) 7-Zip" "(c) pipeline"
for ((run = 1; run <= runs; run++)); do
    runKesto "$job/job.kst" "$work/out-a" "$work/a.log"
    wallA+=("$wall")
    if ((run == 1)); then
        readSevenZipCommand "$work/a.log"
    fi
    zipStep=$((${mark[zip-end]} - ${mark[zip-start]}))
    archiverStep=$((${mark[zip-start]} - ${mark[archiver-start]}))
    outside=$((wall - splashMs - sevenZipMs))
    zipMs+=("$zipStep")
    outsideMs+=("$outside")
    sevenZipMsAll+=("$sevenZipMs")
    shares+=("$(awk -v o="$outside" -v s="$archiverStep" 'BEGIN { printf "%.2f", 100 * o / s }')")
    peakA+=("${rss[exit]}")
    phaseLines+=("$(printf '  %-4s %9s %9s %9s %9s %9s %9s %9s %9s %9s' "$run" \
        "${mark[main-window-load]}" $((${mark[archiver-start]} - ${mark[main-window-load]})) \
        "$archiverStep" "$sevenZipMs" $((archiverStep - sevenZipMs)) "$zipStep" \
        $((${mark[exit]} - ${mark[zip-end]})) $((wall - ${mark[exit]})) "$outside")")

    fresh "$work/out-b"
    sevenZipInto "$work/out-b"
    start=$(now)
    "${sevenZipRun[@]}" >/dev/null </dev/null
    wallB+=($((($(now) - start) / 1000)))
    sevenZipMsAll+=("${wallB[-1]}")
    volumeCount=0 volumeBytes=0
    for volume in "$work/out-b"/bench.[0-9]*; do
        volumeCount=$((volumeCount + 1))
        volumeBytes=$((volumeBytes + $(stat -c %s "$volume")))
    done

    fresh "$work/out-c"
    fresh "$work/pipeline"
    sevenZipInto "$work/pipeline"
    start=$(now)
    KESTO32_TIMINGS=1 "$here/bench/pipeline.sh" "$work/out-c" bench "$job/file_id.diz" "$dizLine" \
        "$dizColumn" "$job/bench.nfo" "$job/extra.txt" -- "${sevenZipRun[@]}" 2>"$work/c.log"
    wallC+=($((($(now) - start) / 1000)))
    pipelineSevenZipMs=$(awk '$1 == "pipeline-timing" && $2 == "7zz" { print $3 }' "$work/c.log")
    sevenZipMsAll+=("$pipelineSevenZipMs")
    outsideCMs+=($((wallC[-1] - pipelineSevenZipMs)))

    checkArchives "$work/out-a" "$volumeCount"
    checkArchives "$work/out-c" "$volumeCount"
    printf '  %-4s %14s %14s %14s\n' "$run" "$(seconds "${wallA[-1]}")" "$(seconds "${wallB[-1]}")" "$(seconds "${wallC[-1]}")"
done

a=$(median "${wallA[@]}")
b=$(median "${wallB[@]}")
c=$(median "${wallC[@]}")
aLessSplash=$((a - splashMs))
echo
echo "Median wall times"
printf '  %-44s %10s  (%s without the 2 s splash period)\n' "(a) kesto32 '!job.kst'" "$(seconds "$a")" "$(seconds "$aLessSplash")"
printf '  %-44s %10s\n' "(b) 7-Zip alone, wrar's switches" "$(seconds "$b")"
printf '  %-44s %10s\n' "(c) the same 7-Zip, then zip -6 -j per volume" "$(seconds "$c")"
echo "  (a)/(b) = $(ratio "$aLessSplash" "$b")   (a)/(c) = $(ratio "$aLessSplash" "$c")   (splash period taken off (a))"
# 7-Zip's own time varies from run to run by more than the rest costs; each run also tells how
# long its 7-Zip ran, so the ratios follow from one 7-Zip time and what each command adds to it.
sevenZipMedian=$(median "${sevenZipMsAll[@]}")
outsideAMedian=$(median "${outsideMs[@]}")
outsideCMedian=$(median "${outsideCMs[@]}")
echo "  7-Zip ran $(seconds "$sevenZipMedian") (median of all ${#sevenZipMsAll[@]} runs); beside it (a) adds ${outsideAMedian} ms after the splash period, (c) adds ${outsideCMedian} ms"
echo "  from these parts: (a)/(b) = $(ratio $((sevenZipMedian + outsideAMedian)) "$sevenZipMedian")   (a)/(c) = $(ratio $((sevenZipMedian + outsideAMedian)) $((sevenZipMedian + outsideCMedian)))"
echo "  volumes: $volumeCount, $volumeBytes bytes; 7-Zip command: ${sevenZip[*]:1:${#sevenZip[@]}-4}"

echo
echo "Phases of (a), ms, each measured inside its own run"
printf '  %-4s %9s %9s %9s %9s %9s %9s %9s %9s %9s\n' run start-up loading archiver "7zz" wrar "zip step" exit process outside
printf '  %-4s %9s %9s %9s %9s %9s %9s %9s %9s %9s\n' "" "+splash" "+checks" step "in it" "+runner" "" "" "load" "7zz+splash"
printf '%s\n' "${phaseLines[@]}"
zipMedian=$(median "${zipMs[@]}")
outsideMedian=$outsideAMedian
echo "  start-up+splash: process start to the main window's load (the splash period is 2000 ms of it)"
echo "  loading+checks: script, validation, size measurement, description test, work directory"
echo "  archiver step: the wrar process, of which 7zz ran '7zz in it'; zip step: volumes wrapped,"
echo "  completion included; exit: window closed and program ended; process load: dynamic loading"
echo "  before main and teardown after the last mark; outside: wall time less 7zz and the splash"
echo
echo "Zip step: $volumeBytes bytes of volumes in $zipMedian ms (median) = $(awk -v b="$volumeBytes" -v ms="$zipMedian" 'BEGIN { printf "%.0f", b / 1000 / ms }') MB/s"
echo "Kesto32 outside the archiver and the splash: $outsideMedian ms (median) = $(median "${shares[@]}") % of the archiver step (per run: ${shares[*]} %)"
echo "Peak resident memory of kesto32, ${size} MB tree: $(median "${peakA[@]}") KiB (per run: ${peakA[*]})"

if ((bigFactor > 0)); then
    bigSize=$((size * bigFactor))
    echo
    echo "One run of (a) on a ${bigSize} MB tree"
    bigSource=$work/source-big
    makeTree "$bigSource" "$bigSize"
    writeJob "$bigSource" "$work/out-big" "$job/job-big.kst"
    runKesto "$job/job-big.kst" "$work/out-big" "$work/big.log"
    bigBytes=0
    while read -r length _; do
        bigBytes=$((bigBytes + length))
    done < <(for archive in "$work/out-big"/bench*.zip; do unzip -Zl "$archive" | awk '$NF ~ /^bench\.[0-9]+$/ { print $4 }'; done)
    bigZip=$((${mark[zip-end]} - ${mark[zip-start]}))
    echo "  wall $(seconds "$wall"), archiver step $(seconds $((${mark[zip-start]} - ${mark[archiver-start]}))), zip step $bigZip ms for $bigBytes bytes = $(awk -v b="$bigBytes" -v ms="$bigZip" 'BEGIN { printf "%.0f", b / 1000 / ms }') MB/s"
    echo "  outside the archiver and the splash: $((wall - splashMs - sevenZipMs)) ms"
    echo "Peak resident memory of kesto32, ${bigSize} MB tree: ${rss[exit]} KiB"
    rm -rf "$bigSource" "$work/out-big"
fi
rm -rf "$work/out-b" "$work/pipeline" "$work/system" "$work/tmp"
