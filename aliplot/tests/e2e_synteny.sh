#!/usr/bin/env bash
# alisyn's blocks in the pictures:
#   planted: the planted-rearrangement genome (MG1655's first 1.2 Mbp and a
#            copy with an inversion, a translocation and a duplication) is
#            matched with mumfind and blocked with alisyn --filter query;
#            the results must be the inputs of the golden test (data/planted.*),
#            and the picture (SVG, checked with xmllint and rendered with
#            rsvg-convert to BUILD/planted_svg.png; PNG by aliplot to
#            BUILD/planted.png) shows each block in its class's layer and
#            counts the classes in the legend;
#   page:    examples/assembly.paf with alisyn's blocks as a page in headless
#            Chromium: no console message, as many segments, block elements
#            and jump-list pairs as the input has, the self-test (hover, pin
#            and copy, zoom, jump list, length and identity filter, toggles)
#            passes, and a screenshot goes to BUILD/synteny_page.png; and a
#            generated assembly of 10^4 contigs with planted events, blocked
#            by alisyn, renders (xmllint, rsvg-convert, BUILD/assembly_10k.png)
#            with every class counted, no names and no hatching of
#            separators.
# usage: e2e_synteny.sh planted|page ALIPLOT ALISYN MUMFIND SOURCE_DIR SHARED_DATA BUILD_DIR
set -euo pipefail
mode=$1 aliplot=$2 alisyn=$3 mumfind=$4 source=$5 shared=$6 build=$7
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*"; exit 1; }
needs() { bash "$source/tests/ensure_packages.sh" "$@" || exit $?; }
needs python3

# class_counts TABLE: "syntenic inverted translocated duplicated" counts.
class_counts() {
  awk -F'\t' 'NR > 1 { n[$9]++ } END { printf "%d %d %d %d", n["syntenic"], n["inverted"], n["translocated"], n["duplicated"] }' "$1"
}

if [ "$mode" = planted ]; then
  needs libxml2-utils librsvg2-bin
  python3 "$source/alisyn/tests/make_rearranged.py" "$shared/ecoli_MG1655.fa.gz" ref.fa rearranged.fa
  "$mumfind" -b --mem -l 1000 ref.fa rearranged.fa -o planted.gff
  "$alisyn" -q --filter query -o planted planted.gff
  for file in planted.gff planted.blocks.tsv planted.assign.tsv; do
    cmp -s "$file" "$here/data/$file" || fail "$file differs from the golden test's input data/$file"
  done
  "$aliplot" planted.gff --blocks planted.blocks.tsv --assign planted.assign.tsv -o planted.svg
  "$aliplot" planted.gff --blocks planted.blocks.tsv --assign planted.assign.tsv -o "$build/planted.png"
  xmllint --noout planted.svg || fail "xmllint refuses the SVG"
  rsvg-convert planted.svg -o "$build/planted_svg.png" || fail "rsvg-convert refuses the SVG"
  [ "$(class_counts planted.blocks.tsv)" = "4 1 1 1" ] || fail "the planted events' classes: $(class_counts planted.blocks.tsv)"
  for entry in "syntenic: 4 blocks" "inverted: 1 block" "translocated: 1 block" "duplicated: 1 block"; do
    grep -q ">$entry<" planted.svg || fail "no '$entry' in the legend"
  done
  # Each block once, in its class's layer.
  python3 - planted.svg planted.blocks.tsv <<'PY'
import sys, xml.etree.ElementTree as ET
svg, table = sys.argv[1:3]
ns = "{http://www.w3.org/2000/svg}"
drawn = {}
for group in ET.parse(svg).getroot().iter(ns + "g"):
    if (group.get("id") or "").startswith("blocks-"):
        for path in group.iter(ns + "path"):
            drawn[path.get("data-block")] = group.get("id")[len("blocks-"):]
rows = [line.rstrip("\n").split("\t") for line in open(table) if not line.startswith("#")]
want = {row[0]: row[8] for row in rows}
if drawn != want:
    sys.exit("FAIL: blocks drawn by class %s, the table has %s" % (drawn, want))
PY
  echo "planted genome: 7 blocks drawn by class; $build/planted_svg.png, $build/planted.png"
  exit 0
fi

needs chromium
cp "$source/examples/assembly.paf" .
"$alisyn" -q --filter query -o asm assembly.paf
"$aliplot" assembly.paf --blocks asm.blocks.tsv --assign asm.assign.tsv -o asm.html
"$aliplot" assembly.paf --blocks asm.blocks.tsv --assign asm.assign.tsv -o asm.svg
size=$(python3 "$here/plot_checks.py" size asm.svg)
# The page's controls take up to two lines above the picture.
window="${size%,*},$((${size#*,} + 80))"
source "$here/page_lib.sh"
browse --screenshot="$build/synteny_page.png" "file://$work/asm.html" > /dev/null 2> shot.log
no_console_messages shot.log
[ -s "$build/synteny_page.png" ] || { cat shot.log; fail "no screenshot"; }
selftest asm.html selftest.html
browse --dump-dom "file://$work/selftest.html" > dom.html 2> dom.log
no_console_messages dom.log
body() {  # body ATTRIBUTE: its value on the page's body as the scripts left it
  python3 -c 'import re, sys, html; m = re.search(r"<body[^>]* data-%s=\"([^\"]*)\"" % sys.argv[2], open(sys.argv[1]).read())
print(html.unescape(m.group(1)) if m else "")' dom.html "$1"
}
result=$(body selftest)
[ "$result" = pass ] || fail "the page's self-test: ${result:-did not run}"
counts=$(body counts)
alignments=$(grep -c . assembly.paf)
blocks=$(($(grep -c . asm.blocks.tsv) - 1))
pairs=$(cut -f1,6 assembly.paf | sort -u | wc -l)
[ "$counts" = "$alignments,$blocks,$pairs" ] ||
  fail "the page holds $counts (segments, blocks, pairs), the input $alignments,$blocks,$pairs"
echo "page: $counts segments, blocks and pairs as in the input; self-test passed; $build/synteny_page.png"

needs libxml2-utils librsvg2-bin
python3 "$here/assembly_gen.py" 10000 --rearranged > big.paf
"$alisyn" -q --filter query -o big big.paf
"$aliplot" big.paf --blocks big.blocks.tsv --assign big.assign.tsv -o big.svg
"$aliplot" big.paf --blocks big.blocks.tsv --assign big.assign.tsv -o "$build/assembly_10k.png"
xmllint --noout big.svg || fail "xmllint refuses the 10^4-contig SVG"
rsvg-convert big.svg -o big.png || fail "rsvg-convert refuses the 10^4-contig SVG"
grouped() { python3 -c 'import sys; print(f"{int(sys.argv[1]):,}")' "$1"; }
read -r syntenic inverted translocated duplicated <<< "$(class_counts big.blocks.tsv)"
for entry in "syntenic: $(grouped "$syntenic") blocks" "inverted: $(grouped "$inverted") blocks" \
             "translocated: $(grouped "$translocated") blocks" "duplicated: $(grouped "$duplicated") blocks" \
             "10,000 sequences too narrow to name"; do
  grep -q ">$entry<" big.svg || fail "no '$entry' in the legend"
done
names=$(sed -n '/<g id="y-ticks"/,/<\/g>/p' big.svg | grep -c '<text' || true)
separators=$(grep -o '<path id="separators"[^>]*' big.svg | grep -o 'M' | wc -l)
[ "$names" = 0 ] && [ "$separators" -lt 50 ] || fail "$names query names and $separators separators at 10^4 contigs"
echo "10^4 contigs: blocks by class, no names, $separators separators; $build/assembly_10k.png"
