#!/bin/sh
# Fails when a catalogue in translations/ lacks a text of the sources, holds a text the sources
# no longer have, or has a text not yet translated (or marked unfinished). The committed
# catalogues are left alone: lupdate works on copies.
#   tests/translations_check.sh LUPDATE SOURCE_DIR
set -eu
lupdate=$1
top=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for ts in "$top"/translations/*.ts; do
    copy=$work/$(basename "$ts")
    cp "$ts" "$copy"
    "$lupdate" -silent -locations none -extensions cpp,h "$top/src" -ts "$copy" >/dev/null
    # lupdate marks a text new to the catalogue, and one never finished, "unfinished"; a text
    # gone from the sources "vanished" or "obsolete".
    if grep -q 'type="\(unfinished\|vanished\|obsolete\)"' "$copy"; then
        echo "$(basename "$ts"): not in step with the sources or not finished:" >&2
        grep -B3 'type="\(unfinished\|vanished\|obsolete\)"' "$copy" | grep '<source>' >&2
        echo "run: cmake --build build --target update_translations, then translate" >&2
        status=1
    fi
done
exit $status
