#!/usr/bin/env bash
# Whole assemblies on one canvas: a PAF of three sequence pairs gives three
# query bands with their names; --pair plots one of them; the references
# of a SAM or BAM header and the unmapped contigs are left out and counted; a generated
# assembly of 10^4 contigs renders (xmllint, rsvg-convert, PNG).
# usage: e2e_assembly.sh ALIPLOT SOURCE_DIR   (77: a tool cannot be had)
set -euo pipefail
aliplot=$1 source=$2
bash "$source/tests/ensure_packages.sh" libxml2-utils librsvg2-bin python3 samtools || exit $?
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*"; exit 1; }

# chr2 comes first in the file; q1 lies on it, q3 on chr1's start and q2
# further along chr1 on the minus strand.
printf 'q1\t5000\t0\t4000\t+\tchr2\t20000\t1000\t5000\t4000\t4000\t60\n' > three.paf
printf 'q2\t6000\t0\t6000\t-\tchr1\t30000\t20000\t26000\t6000\t6000\t60\n' >> three.paf
printf 'q3\t3000\t0\t3000\t+\tchr1\t30000\t0\t3000\t3000\t3000\t60\n' >> three.paf
"$aliplot" three.paf -o three.svg
xmllint --noout three.svg || fail "xmllint refuses the SVG"
names=$(sed -n '/<g id="y-ticks"/,/<\/g>/p' three.svg | grep -o '>[^<]*</text>' | tr -d '<>/' | sed 's/text$//' | paste -sd' ')
[ "$names" = "q1 q3 −q2" ] || fail "query bands bottom to top: '$names', expected 'q1 q3 −q2'"
grep -q '>2 references, 3 queries<' three.svg || fail "no count of the sequences"
grep -q '>1 query turned over' three.svg || fail "no count of the turned queries"
"$aliplot" three.paf --order name -o named.svg
names=$(sed -n '/<g id="x-ticks"/,/<\/g>/p' named.svg | grep -o '>[^<]*</text>' | tr -d '<>/' | sed 's/text$//' | paste -sd' ')
[ "$names" = "chr1 chr2" ] || fail "--order name gives the references '$names'"
"$aliplot" three.paf --order name --pair chr2,q1 -o one.svg
grep -q 'id="x-ticks" transform' one.svg || fail "--pair does not plot one pair with ticks"
grep -q '>1 alignment<' one.svg || fail "--pair keeps other alignments"

{
  printf '@HD\tVN:1.6\n@SQ\tSN:chr1\tLN:30000\n@SQ\tSN:chr2\tLN:20000\n@SQ\tSN:chrM\tLN:16000\n'
  printf 'c1\t0\tchr1\t101\t60\t4000M\t*\t0\t0\t*\t*\n'
  printf 'c2\t16\tchr2\t1\t60\t3000M\t*\t0\t0\t*\t*\n'
  printf 'c3\t4\t*\t0\t0\t*\t*\t0\t0\t*\t*\n'
} > contigs.sam
samtools view -b -o contigs.bam contigs.sam 2> /dev/null
for input in contigs.sam contigs.bam; do
  "$aliplot" "$input" -o contigs.svg
  grep -q '>left out, without alignments:<' contigs.svg && grep -q '>1 reference, 1 query<' contigs.svg ||
    fail "$input: chrM and c3 are not counted as left out"
  grep -q '>chrM<' contigs.svg && fail "$input: chrM is drawn"
done

python3 "$source/aliplot/tests/assembly_gen.py" 10000 > big.paf
"$aliplot" big.paf -o big.svg
"$aliplot" big.paf --title "10,000 contigs" -o big.png
xmllint --noout big.svg || fail "xmllint refuses the 10^4-contig SVG"
rsvg-convert big.svg -o check.png || fail "rsvg-convert refuses the 10^4-contig SVG"
grep -q '>5 references, 10,000 queries<' big.svg || fail "not every contig counted"
grep -q '10,000 sequences too narrow to name' big.svg || fail "no count of unnamed contigs"
[ "$(head -c 4 big.png | tail -c 3)" = PNG ] || fail "no PNG of the 10^4 contigs"
echo "assemblies: three pairs, --pair and 10^4 contigs checked"
