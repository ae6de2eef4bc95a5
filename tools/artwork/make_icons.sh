#!/bin/sh
# Renders the PNG sizes of the application icon from its scalable SVG (run after editing it).
# Needs rsvg-convert (Debian package librsvg2-bin).
set -eu
icons=$(cd "$(dirname "$0")/../../data/icons/hicolor" && pwd)
for size in 16 24 32 48 64 128 256; do
    mkdir -p "$icons/${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" "$icons/scalable/apps/kesto32.svg" -o "$icons/${size}x${size}/apps/kesto32.png"
done
