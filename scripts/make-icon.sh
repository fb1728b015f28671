#!/usr/bin/env bash
# Draws the program's desktop icon: a scalable SVG and its 256 x 256 PNG rendering.
#
#     scripts/make-icon.sh            # writes packaging/icons/ in the source tree
#     scripts/make-icon.sh OUTDIR     # writes below OUTDIR instead
#
# The picture is a 4 x 4 switching matrix (inputs on the left, outputs on the right, the
# routed cross-points lit) in the colours of APP/StyleSheet/default.qss. The PNG is rendered
# with rsvg-convert (Debian package librsvg2-bin), so both files show the same drawing.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$here/packaging/icons}"
mkdir -p "$out"
svg="$out/tavilon.svg"
png="$out/tavilon-256.png"

background="#171C23"
panel="#1F252E"
border="#3A4554"
grid="#3A4554"
accent="#2E9BFF"
light="#7CC4FF"
text="#E3E8EF"

{
    echo '<?xml version="1.0" encoding="UTF-8"?>'
    echo '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">'
    echo "  <rect x=\"8\" y=\"8\" width=\"240\" height=\"240\" rx=\"44\" fill=\"$background\" stroke=\"$border\" stroke-width=\"4\"/>"
    echo "  <rect x=\"56\" y=\"40\" width=\"144\" height=\"176\" rx=\"14\" fill=\"$panel\"/>"
    # The four input rows and four output columns of the matrix.
    for i in 0 1 2 3; do
        y=$((64 + i * 42))
        x=$((80 + i * 32))
        echo "  <line x1=\"30\" y1=\"$y\" x2=\"200\" y2=\"$y\" stroke=\"$grid\" stroke-width=\"6\" stroke-linecap=\"round\"/>"
        echo "  <line x1=\"$x\" y1=\"52\" x2=\"$x\" y2=\"204\" stroke=\"$grid\" stroke-width=\"6\" stroke-linecap=\"round\"/>"
        echo "  <circle cx=\"30\" cy=\"$y\" r=\"10\" fill=\"$text\"/>"
    done
    # Routed cross-points: input row r feeds output column c, drawn as a path to the right edge.
    for route in "0 2" "1 0" "2 3" "3 1"; do
        set -- $route
        y=$((64 + $1 * 42))
        x=$((80 + $2 * 32))
        echo "  <line x1=\"30\" y1=\"$y\" x2=\"$x\" y2=\"$y\" stroke=\"$accent\" stroke-width=\"8\" stroke-linecap=\"round\"/>"
        echo "  <circle cx=\"$x\" cy=\"$y\" r=\"13\" fill=\"$light\" stroke=\"$accent\" stroke-width=\"5\"/>"
    done
    # The outputs leave at the right.
    for i in 0 1 2 3; do
        y=$((64 + i * 42))
        echo "  <path d=\"M212 $((y - 10)) L230 $y L212 $((y + 10)) Z\" fill=\"$accent\"/>"
    done
    echo '</svg>'
} > "$svg"

rsvg-convert --width 256 --height 256 --format png --output "$png" "$svg"
echo "Wrote $svg and $png"
