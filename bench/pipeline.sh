#!/usr/bin/env bash
# The hand-made pipeline Kesto32 is measured against: 7-Zip cuts the tree into volumes, then
# Info-ZIP's zip wraps each volume with its numbered description, the nfo and the extra file,
# and the volume is deleted.
#
#   pipeline.sh <out dir> <name> <description> <line> <column> <nfo> <extra> -- <7-Zip command>
#
# The 7-Zip command writes <dir>/<name>.001, .002, ...; the archives are <out dir>/<name>001.zip,
# ... The description's line gets "001/003" from the column on, as Kesto32 numbers it. With
# KESTO32_TIMINGS set, "pipeline-timing 7zz <ms>" on standard error tells how long 7-Zip ran.
set -euo pipefail

if (($# < 9)) || [ "$8" != "--" ]; then
    echo "usage: $0 <out dir> <name> <description> <line> <column> <nfo> <extra> -- <7-Zip command>" >&2
    exit 64
fi
out=$1 name=$2 diz=$3 line=$4 column=$5 nfo=$6 extra=$7
shift 8

now() { local t=${EPOCHREALTIME/[.,]/}; echo $((10#$t / 1000)); }
started=$(now)
"$@" >/dev/null </dev/null
# For the benchmark: how long 7-Zip itself took.
[ -z "${KESTO32_TIMINGS:-}" ] || echo "pipeline-timing 7zz $(($(now) - started))" >&2
# The 7-Zip archive is the argument after "--".
archive=
for ((i = 1; i < $#; i++)); do
    if [ "${!i}" = "--" ]; then
        next=$((i + 1))
        archive=${!next}
        break
    fi
done
work=$(dirname "$archive")

volumes=("$archive".[0-9]*)
count=${#volumes[@]}
described=$(mktemp -d)
trap 'rm -rf "$described"' EXIT
for ((i = 0; i < count; i++)); do
    number=$(printf '%03d/%03d' $((i + 1)) "$count")
    awk -v n="$line" -v c="$column" -v t="$number" \
        'NR == n { $0 = substr($0, 1, c - 1) t substr($0, c + length(t)) } { print }' \
        "$diz" >"$described/file_id.diz"
    zip -q -6 -j "$out/$name$(printf '%03d' $((i + 1))).zip" \
        "${volumes[i]}" "$described/file_id.diz" "$nfo" "$extra"
    rm -f "${volumes[i]}"
done
rmdir "$work" 2>/dev/null || true
