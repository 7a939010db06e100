#!/usr/bin/env bash
# The mitochondrial example end to end: alichain chains examples/mt.gff,
# aliplot draws it with its two reports, and
#   svg:  the SVG parses as XML, holds one element per chain member in the
#         chain's colour, and rsvg-convert renders it (BUILD/mt_svg.png);
#   page: headless Chromium opens the HTML page with no console message,
#         the member elements in its DOM match the reports, a self-test drives
#         hover, zoom and toggles, and a screenshot at the page's default size
#         goes to BUILD/mt_page.png.
# usage: e2e_mt.sh svg|page ALIPLOT ALICHAIN SOURCE_DIR BUILD_DIR
set -euo pipefail
mode=$1 aliplot=$2 alichain=$3 source=$4 build=$5
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

needs() { bash "$source/tests/ensure_packages.sh" "$@" || exit $?; }
needs python3
cp "$source/examples/mt.gff" "$work/mt.gff"
"$alichain" "$work/mt.gff" > "$work/mt.chain"
checks() { python3 "$here/plot_checks.py" "$@"; }

if [ "$mode" = svg ]; then
  needs librsvg2-bin
  "$aliplot" "$work/mt.gff" "$work/mt.chain" -o "$work/mt.svg"
  checks svg "$work/mt.svg" "$work/mt.chain"
  rsvg-convert "$work/mt.svg" -o "$build/mt_svg.png"
  [ -s "$build/mt_svg.png" ] || { echo "FAIL: rsvg-convert wrote no picture"; exit 1; }
  echo "rendered: $build/mt_svg.png"
  exit 0
fi

needs chromium
"$aliplot" "$work/mt.gff" "$work/mt.chain" -o "$work/mt.html"
"$aliplot" "$work/mt.gff" "$work/mt.chain" -o "$work/mt.svg"
# The page's controls take up to two lines above the picture.
size=$(checks size "$work/mt.svg")
window="${size%,*},$((${size#*,} + 80))"
source "$here/page_lib.sh"
browse --screenshot="$build/mt_page.png" "file://$work/mt.html" > /dev/null 2> "$work/shot.log"
no_console_messages "$work/shot.log"
[ -s "$build/mt_page.png" ] || { echo "FAIL: no screenshot"; cat "$work/shot.log"; exit 1; }
echo "screenshot: $build/mt_page.png"

selftest "$work/mt.html" "$work/selftest.html"
browse --dump-dom "file://$work/selftest.html" > "$work/dom.html" 2> "$work/dom.log"
no_console_messages "$work/dom.log"
checks dom "$work/dom.html" "$work/mt.chain"
echo "no console messages; hover, zoom, back and toggles work"
