#!/usr/bin/env bash
# Names that XML 1.0 forbids or that are no UTF-8, carried from aligner
# output through aliconv and alichain to aliplot: in a sequence name, the
# input's file name (the title) and the reports' names. The SVG must parse
# with xmllint and render with rsvg-convert, and the page's inline SVG must
# parse too, with each such character shown as '?'.
# usage: e2e_names.sh ALICONV ALICHAIN ALIPLOT SOURCE_DIR
set -euo pipefail
aliconv=$1 alichain=$2 aliplot=$3 source=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash "$source/tests/ensure_packages.sh" libxml2-utils librsvg2-bin python3 || exit $?
cd "$work"
fail() { echo "FAIL: $*"; exit 1; }

# U+FFFE, U+FFFF, an encoded surrogate and a byte that starts no UTF-8.
fffe=$'\xef\xbf\xbe' ffff=$'\xef\xbf\xbf' surrogate=$'\xed\xa0\x80' stray=$'\xff'
reference="ref${fffe}${surrogate}" query="qry${ffff}${stray}"
name="pair${ffff}"
printf '%s\t100\t0\t40\t+\t%s\t200\t10\t50\t38\t40\t60\tAS:i:70\n' "$query" "$reference" > in.paf
printf '%s\t100\t50\t90\t+\t%s\t200\t100\t140\t38\t40\t60\tAS:i:75\n' "$query" "$reference" >> in.paf
"$aliconv" in.paf -o "$name.gff"
"$alichain" -f "$name.gff" > /dev/null
for format in svg html; do
  "$aliplot" "$name.gff" "$name.gff.chainout" -o "plot.$format"
done

xmllint --noout plot.svg || fail "xmllint refuses the SVG"
rsvg-convert plot.svg -o plot.png || fail "rsvg-convert refuses the SVG"
[ -s plot.png ] || fail "rsvg-convert wrote no picture"
python3 - plot.svg plot.html <<'PY'
import re, sys
svg, page = (open(p, "rb").read().decode("utf-8") for p in sys.argv[1:])
forbidden = re.compile("[\x00-\x08\x0b\x0c\x0e-\x1f\ufffe\uffff]")
for name, text in (("SVG", svg), ("page", page)):
    if forbidden.search(text):
        sys.exit("FAIL: the %s holds a character XML forbids" % name)
for shown in ("ref???", "qry??", "pair?.gff"):
    if shown not in svg:
        sys.exit("FAIL: the SVG does not show %r" % shown)
inline = page[page.index("<svg"):page.rindex("</svg>") + 6]
open("inline.svg", "w").write(inline)
PY
xmllint --noout inline.svg || fail "xmllint refuses the page's SVG"
echo "the SVG parses and renders; the page's SVG parses"
