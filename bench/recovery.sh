#!/usr/bin/env bash
# Measures the recovery step of an unattended run (kesto32 --recovery N '!job.kst', from its
# phase marks) against `par2 create` run alone with the same arguments on the same archives, and
# the set's size against the series'. Then `kesto32 --repair` of one missing archive against
# plain `par2 repair` with the same set (made by plain `par2 create`). See bench/README.md.
#
#   bench/recovery.sh [--size MB] [--percent N] [--repair-percent N] [--runs N] [--only PART]
#                     [--work DIR] [--build DIR]
#
#   --size MB            size of the generated tree (default 60)
#   --percent N          the recovery set's percentage (default 10)
#   --repair-percent N   the set's percentage for the repair (default: the missing archive's
#                        share of the series plus 5)
#   --runs N             runs of each, alternating (default 5)
#   --only PART          create or repair: measure that part alone
#   --work DIR           where the tree, the job and the series go (default:
#                        <build dir>/bench-recovery)
#   --build DIR          the build with kesto32, wrar, size and make_tree in bin/ (default: build)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

size=60
percent=10
repair_percent=
only=
runs=5
work=
build=$here/build
while (($#)); do
    case $1 in
    --size) size=$2; shift 2 ;;
    --percent) percent=$2; shift 2 ;;
    --repair-percent) repair_percent=$2; shift 2 ;;
    --only) only=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    -h | --help) sed -n '2,19p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "bench: unknown option $1" >&2; exit 64 ;;
    esac
done
. "$here/bench/series.sh"
bench_setup bench-recovery 7zz par2
bench_job

create_part() {
    # The recovery step of one run, in ms: from its mark recovery-start to recovery-end, and what it
    # adds around par2's own run (recovery-par2-start to recovery-par2-end).
    recovery_step() {
        KESTO32_TIMINGS=1 KESTO32_SYSTEM_DIR=$work/system "$bin/kesto32" --quiet --recovery "$percent" \
            "!$work/job.kst" 2>"$work/run.log"
        awk '$1 == "kesto32-timing" { t[$2] = $3 }
             END { if (!("recovery-end" in t) || !("recovery-par2-end" in t)) exit 1
                   step = t["recovery-end"] - t["recovery-start"]
                   print step, step - (t["recovery-par2-end"] - t["recovery-par2-start"]) }' "$work/run.log"
    }
    # The block size the run gives par2: at least 16 KiB (less only for a smaller largest archive),
    # and large enough for at most 2000 blocks, in multiples of 4 bytes.
    block_size() {
        stat -c %s "$@" | awk '
            function blocks(words,   i, n) { n = 0; for (i = 1; i <= c; i++) n += int((w[i] + words - 1) / words); return n }
            { w[++c] = int(($1 + 3) / 4); if ($1 > big) big = $1 }
            END { low = 1; high = big + 1
                  while (low < high) { mid = int((low + high) / 2); if (blocks(mid) > 2000) low = mid + 1; else high = mid }
                  floor = int((big + 3) / 4) * 4; if (floor > 16384) floor = 16384
                  print (low * 4 > floor ? low * 4 : floor) }'
    }
    # par2 alone, as the run starts it, into a directory of its own beside the series.
    par2_alone() {
        rm -rf "$work/alone"
        mkdir "$work/alone"
        local start
        start=$(now)
        par2 create -q -q -s"$(block_size "$work/out"/bench[0-9]*.zip)" -r"$percent" -n1 -B"$work/out" \
            "$work/alone/bench.par2" -- "$work/out"/bench[0-9]*.zip >/dev/null
        echo $((($(now) - start) / 1000))
    }
    
    step=() added=() alone=()
    for ((run = 1; run <= runs; run++)); do
        read -r s a < <(recovery_step)
        step+=("$s") added+=("$a")
        alone+=("$(par2_alone)")
        echo "  run $run: recovery step ${step[-1]} ms (${added[-1]} ms of it beside par2), par2 create ${alone[-1]} ms"
    done
    count=$(ls "$work/out"/bench[0-9]*.zip | wc -l)
    series=$(cat "$work/out"/bench[0-9]*.zip | wc -c)
    set_bytes=$(cat "$work/out"/bench*.par2 | wc -c)
    files=$(ls "$work/out"/bench*.par2 | wc -l)
    echo "Series: $count archives, $series bytes; recovery set ($percent %): $files files, $set_bytes bytes, $(awk -v a="$set_bytes" -v b="$series" 'BEGIN { printf "%.1f", 100 * a / b }') % of the series"
    alone_bytes=$(cat "$work/alone"/bench*.par2 | wc -c)
    echo "par2 create alone with the same settings: $alone_bytes bytes$([ "$alone_bytes" = "$set_bytes" ] && echo ", the same" || echo ", NOT the same: the settings differ")"
    a=$(median "${step[@]}")
    p=$(median "${alone[@]}")
    d=$(median "${added[@]}")
    echo "Medians: recovery step $a ms, par2 create $p ms, ratio $(ratio "$a" "$p") (goal: at most 1.05)"
    # The machine's noise moves par2's time by more than the step adds: the step measured from its
    # parts is par2 alone plus what the step adds beside its own par2.
    echo "From these parts: par2 create $p ms + $d ms beside it, ratio $(ratio $((p + d)) "$p") (goal: at most 1.05)"
}

# --repair of one missing archive against plain par2 repair, each on a fresh copy of the series
# with a set plain par2 made. The copy is not timed.
repair_part() {
    rm -rf "$work/repair-base" "$work/repair"
    mkdir -p "$work/repair-base" "$work/system"
    cp -a "$work/out"/bench[0-9]*.zip "$work/repair-base/"
    local missing
    missing=$(ls "$work/repair-base"/bench[0-9]*.zip | sed -n 3p)
    missing=${missing##*/}
    if [ -z "$repair_percent" ]; then
        repair_percent=$(awk -v a="$(wc -c <"$work/repair-base/$missing")" \
            -v b="$(cat "$work/repair-base"/bench[0-9]*.zip | wc -c)" \
            'BEGIN { printf "%d", 100 * a / b + 6 }')
    fi
    par2 create -q -q -r"$repair_percent" -- "$work/repair-base/bench.par2" "$work/repair-base"/bench[0-9]*.zip >/dev/null
    fresh() { rm -rf "$work/repair"; cp -a "$work/repair-base" "$work/repair"; rm "$work/repair/$missing"; }
    local kesto=() plain=() check=() par2run=() placing=() final=()
    for ((run = 1; run <= runs; run++)); do
        fresh
        local start
        start=$(now)
        KESTO32_TIMINGS=1 KESTO32_SYSTEM_DIR=$work/system "$bin/kesto32" --repair "$work/repair" --name bench >"$work/repair.out" 2>"$work/repair.log" || {
            echo "bench: kesto32 --repair failed" >&2; cat "$work/repair.out" "$work/repair.log" >&2; exit 1; }
        kesto+=($((($(now) - start) / 1000)))
        cmp -s "$work/repair/$missing" "$work/out/$missing" || { echo "bench: $missing not restored" >&2; exit 1; }
        read -r c p l f < <(awk '$1 == "kesto32-timing" { t[$2] = $3 }
            END { print t["repair-check-end"] - t["repair-check-start"],
                        t["repair-par2-end"] - t["repair-par2-start"],
                        (t["repair-end"] - t["repair-start"]) - (t["repair-par2-end"] - t["repair-par2-start"]),
                        t["repair-verify-end"] - t["repair-verify-start"] }' "$work/repair.log")
        check+=("$c") par2run+=("$p") placing+=("$l") final+=("$f")
        fresh
        start=$(now)
        par2 repair -q -q -- "$work/repair/bench.par2" >/dev/null
        plain+=($((($(now) - start) / 1000)))
        cmp -s "$work/repair/$missing" "$work/out/$missing" || { echo "bench: par2 did not restore $missing" >&2; exit 1; }
        echo "  run $run: --repair ${kesto[-1]} ms (check ${check[-1]}, par2 repair ${par2run[-1]}, placing ${placing[-1]}, final check ${final[-1]}), par2 repair ${plain[-1]} ms"
    done
    local k p
    k=$(median "${kesto[@]}")
    p=$(median "${plain[@]}")
    echo "Repair of $missing (one of $(ls "$work/repair-base"/bench[0-9]*.zip | wc -l) archives) with a $repair_percent % set: $(cat "$work/repair-base"/bench*.par2 | wc -c) bytes"
    echo "Medians: --repair $k ms, par2 repair $p ms, ratio $(ratio "$k" "$p") (goal: at most 1.1)"
    echo "  inside --repair: check before $(median "${check[@]}") ms, par2 repair $(median "${par2run[@]}") ms, placing $(median "${placing[@]}") ms, final check $(median "${final[@]}") ms"
    echo "  par2 repair inside --repair against par2 repair alone: ratio $(ratio "$(median "${par2run[@]}")" "$p")"
    # The machine's noise moves par2's time by more than --repair adds: from the parts, par2 alone
    # plus what --repair adds beside its own par2.
    local added=()
    for ((i = 0; i < ${#kesto[@]}; i++)); do added+=($((kesto[i] - par2run[i]))); done
    local d
    d=$(median "${added[@]}")
    echo "From these parts: par2 repair $p ms + $d ms beside it, ratio $(ratio $((p + d)) "$p") (goal: at most 1.1)"
    rm -rf "$work/repair-base" "$work/repair"
}

if [ "$only" != repair ]; then
    create_part
fi
if [ "$only" != create ]; then
    [ "$only" = repair ] && bench_series --quiet
    repair_part
fi
rm -rf "$work/source" "$work/system" "$work/alone"
