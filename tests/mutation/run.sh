#!/bin/bash
# Makes each recorded fault in turn, rebuilds, runs the suite and says whether it caught it.
#   tests/mutation/run.sh <source tree> <build dir> [fault ids...]
# The build dir must be configured for the source tree already. Every fault is taken out again,
# also when the run is interrupted. Output: one line per fault,
#   <id> caught <tests that failed> | missed | did-not-apply | does-not-build
# Set MUTATION_STOP=1 to stop the suite at its first failure (faster, names one test only).
set -u
if [ $# -lt 2 ]; then
    echo "usage: $0 <source tree> <build dir> [fault ids...]" >&2
    exit 7
fi
tree=$(cd "$1" && pwd) || exit 2
build=$(cd "$2" && pwd) || exit 2
shift 2
faults="$(dirname "$0")/faults"
logs="$build/mutation-logs"
mkdir -p "$logs"

backup=""
target=""
restore() {
    if [ -n "$backup" ]; then
        cp "$backup" "$target" && rm -f "$backup"
        backup=""
    fi
}
trap 'restore; exit 130' INT TERM HUP
trap restore EXIT

# Replaces the one occurrence of FROM by TO in the file; exit 3 unless FROM occurs exactly once.
apply() {
    FROM="$2" TO="$3" perl -0777 -e '
        my ($file) = @ARGV;
        open(my $in, "<", $file) or exit 4;
        local $/; my $text = <$in>; close $in;
        my ($from, $to, $count, $at) = ($ENV{FROM}, $ENV{TO}, 0, -1);
        for (my $i = index($text, $from); $i >= 0; $i = index($text, $from, $i + 1)) {
            $count++; $at = $i;
        }
        exit 3 unless $count == 1;
        substr($text, $at, length $from) = $to;
        open(my $out, ">", $file) or exit 4;
        print $out $text; close $out or exit 4;' "$1"
}

# Runs the suite; prints the names of the tests that failed.
suite() {
    local stop=()
    [ "${MUTATION_STOP:-0}" = 1 ] && stop=(--stop-on-failure)
    (cd "$build" && timeout -k 10 900 ctest "${stop[@]}" </dev/null >"$1" 2>&1)
    sed -n 's/^[[:space:]]*[0-9]\+ - \([^ ]\+\) (.*/\1/p' "$1" | sort -u | paste -sd, -
}

wanted() {
    local id=$1 w
    shift
    [ $# -eq 0 ] && return 0
    for w; do [ "$w" = "$id" ] && return 0; done
    return 1
}

if ! cmake --build "$build" -j2 >"$logs/clean-build.log" 2>&1; then
    echo "the unmutated tree does not build: $logs/clean-build.log" >&2
    exit 2
fi
failing=$(suite "$logs/clean-suite.log")
if [ -n "$failing" ]; then
    echo "the unmutated suite fails ($failing): $logs/clean-suite.log" >&2
    exit 2
fi

# Records: lines "key: value" (id, file, from, to, what), a blank line after each.
run_fault() {
    local id=$1 file=$2 from=$3 to=$4
    target="$tree/$file"
    if [ ! -f "$target" ]; then
        echo "$id did-not-apply (no $file)"
        return
    fi
    backup=$(mktemp "$logs/backup.XXXXXX")
    cp "$target" "$backup"
    if ! apply "$target" "$from" "$to"; then
        restore
        echo "$id did-not-apply"
        return
    fi
    if ! cmake --build "$build" -j2 </dev/null >"$logs/$id.build.log" 2>&1; then
        restore
        echo "$id does-not-build"
        return
    fi
    local failed
    failed=$(suite "$logs/$id.suite.log")
    restore
    if [ -n "$failed" ]; then
        echo "$id caught $failed"
    else
        echo "$id missed"
    fi
}

id="" file="" from="" to=""
flush() {
    if [ -n "$id" ] && wanted "$id" "$@"; then
        run_fault "$id" "$file" "$from" "$to"
    fi
    id="" file="" from="" to=""
}
while IFS= read -r line || [ -n "$line" ]; do
    case "$line" in
    "#"*) ;;
    "") flush "$@" ;;
    "id: "*) id=${line#id: } ;;
    "file: "*) file=${line#file: } ;;
    "from: "*) from=${line#from: } ;;
    "to:"*) to=${line#to:}; to=${to# } ;;
    esac
done <"$faults"
flush "$@"
# Leave the build matching the tree again.
cmake --build "$build" -j2 >"$logs/clean-build.log" 2>&1
