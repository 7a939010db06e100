#!/usr/bin/env bash
# PNG and PDF rendered by aliplot itself: the PNG has the SVG's size in
# pixels, the PDF renders with pdftoppm at the SVG's size in points, --title
# names the picture, and a long title and report name stay within it.
# usage: e2e_render.sh ALIPLOT SOURCE_DIR   (77: a tool cannot be had)
set -euo pipefail
aliplot=$1 source=$2
bash "$source/tests/ensure_packages.sh" poppler-utils python3 || exit $?
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*"; exit 1; }

long=$(printf 'a_rather_long_folder_name_%d/' 1 2 3 4 5)
mkdir -p "$long"
cp "$source/aliplot/tests/data/small.gff" in.gff
cp "$source/aliplot/tests/data/small.chain" "$long/small.chain"
title="A title long enough to run past the right edge of a small picture unless it is shortened"
for format in svg png pdf; do
  "$aliplot" in.gff "$long/small.chain" --size 300 --title "$title" -o "plot.$format"
done
"$aliplot" in.gff --format png -o - > stdout.png

python3 - "$title" <<'PY' || exit 1
import re, struct, sys
svg = open("plot.svg", encoding="utf-8").read()
width, height = (int(v) for v in re.search(r'<svg[^>]* width="(\d+)" height="(\d+)"', svg).groups())
for name in ("plot.png", "stdout.png"):
    data = open(name, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit("FAIL: %s is no PNG" % name)
    if name == "plot.png" and struct.unpack(">II", data[16:24]) != (width, height):
        sys.exit("FAIL: the PNG is %dx%d, the SVG %dx%d" % (struct.unpack(">II", data[16:24]) + (width, height)))
title = sys.argv[1]
if "<title>" + title + "</title>" not in svg:
    sys.exit("FAIL: --title does not name the picture")
shown = re.search(r'font-size="18" font-weight="bold">([^<]*)<', svg).group(1)
if len(shown) * 12 > width - 86 or not shown.startswith("\u2026") or not title.endswith(shown[1:]):
    sys.exit("FAIL: the title shown is %r" % shown)
legend = svg[svg.index('<g id="legend"'):]
for text in re.findall(r"<text[^>]*>([^<]*)</text>", legend):
    if len(text) > 34:
        sys.exit("FAIL: the legend line %r runs past the legend" % text)
if "small.chain" not in legend:
    sys.exit("FAIL: the report's name is not in the legend")
PY
pdfinfo plot.pdf > info || fail "pdfinfo refuses the PDF"
size=$(sed -n 's/^Page size: *\([0-9.]*\) x \([0-9.]*\) pts.*/\1x\2/p' info)
svgsize=$(sed -n 's/.*<svg[^>]* width="\([0-9]*\)" height="\([0-9]*\)".*/\1x\2/p' plot.svg | head -1)
[ "$size" = "$svgsize" ] || fail "the PDF page is $size points, the SVG $svgsize pixels"
pdftoppm -png -r 72 plot.pdf page || fail "pdftoppm refuses the PDF"
[ -s page-1.png ] || fail "pdftoppm drew no page"
echo "render: PNG, PDF, title and legend checked"
