#!/usr/bin/env bash
# Hostile and broken inputs for the built aliplot, made at run time: each
# case checks the exit status, the message and what became of the output.
# Usage: bad_input.sh <aliplot binary>
set -uo pipefail
prog=$1
source "$(dirname "$0")/../../tests/bad_input_lib.sh"

# run ARGS...: leaves the status in $status and the messages in "err".
run() {
  "$prog" "$@" > stdout 2> err
  status=$?
}
expect_old_output() { [ "$(cat "${1:-out.svg}")" = old ] || fail "the existing output was replaced"; }
expect_no_leftovers() { [ "$(ls -A | grep -cv -e '^in' -e '^out' -e '^err$' -e '^stdout$' -e '^chain')" = 0 ] || fail "files left behind: $(ls -A)"; }
expect_xml() { python3 -c 'import sys, xml.etree.ElementTree as E; E.parse(sys.argv[1])' "$1" 2> /dev/null || fail "$1 is no well-formed XML"; }

alignments() {
  printf '# two sequences\nA\tt\tsequence:sequence\t1:1\t1000:900\t0\t.\tseq1 "A"; seq2 "B"\n'
  printf 'A\tt\talignment\t1:1\t100:100\t50\t+\tali 1\nA\tt\talignment\t200:700\t300:800\t20\t-\tali 2\n'
}
report() {  # report MEMBERS LINES...
  printf '2\n##gff-version 2\n##source-version alichain 0.0\n##date x\n##\n##alichain in.gff\n'
  printf '##Number of used alignments:\t%s\n##Score sum of these alignments: 5\n##Used alignments:\n## %s\n##\n' \
    "$(echo $1 | wc -w)" "$1"
  shift
  for line in "$@"; do printf '%s\n' "$line"; done
}
line1=$(printf 'A\tt\talignment\t1:1\t100:100\t50\t+\tali 1')

start missing_alignment_file
echo old > out.svg
run missing.gff -o out.svg; expect_status 1; expect_err 'missing.gff'; expect_old_output

start malformed_alignment_line_keeps_the_old_output
{ alignments; printf 'A\tt\talignment\t500:1\t400:9\t5\t+\n'; } > in
echo old > out.svg
run in -o out.svg; expect_status 1; expect_err 'in, line 5'; expect_old_output; expect_no_leftovers

start report_member_beyond_the_alignments
alignments > in
report "1 3" "$line1" "$line1" > chain
echo old > out.html
run in chain -o out.html; expect_status 1; expect_err 'member 3 lies beyond the 2 alignments of in'
expect_old_output out.html; expect_no_leftovers

start report_of_another_file
alignments > in
report "2" "$line1" > chain
run in chain -o out.svg; expect_status 1; expect_err 'chain: the member lines it copies differ'

# A report cut down to its "##" lines could name any file's alignments.
start report_without_its_member_lines
alignments > in
report "1 2" > chain
run in chain -o out.svg; expect_status 1
expect_err '^aliplot: chain, line 11: the member list that ends here names 2 alignments, but the report copies 0'

start report_that_is_no_report
alignments > in
printf 'hello\n' > chain
run in chain -o out.svg; expect_status 1; expect_err 'chain, line 1: not a chain report'

start missing_report
alignments > in
run in nothing.chain -o out.svg; expect_status 1; expect_err 'nothing.chain'

start binary_garbage
head -c 100000 /dev/urandom > in
run in -o out.svg; [ "$status" = 0 ] || [ "$status" = 1 ] || fail "status $status"
[ "$status" = 1 ] || expect_xml out.svg

start usage_errors
for arguments in "" "in" "-o out.svg" "in -o out.gif" "in -o out.svg --order size" "in -o -" "in -o out.svg --size 5" "in -o out.svg -q"; do
  run $arguments; expect_status 2; expect_err 'usage: aliplot'
done

start unwritable_output
alignments > in
run in -o no/such/dir/out.svg; expect_status 1; expect_err 'no/such/dir'
if [ -w /dev/full ]; then
  run in -o /dev/full --format svg; expect_status 1; expect_err '^aliplot: cannot write /dev/full: No space left on device$'
fi
# A page far larger than a pipe's buffer, whose reader stops early, and
# far larger than the stream's buffer on a full device: the system's
# reason is kept.
awk 'BEGIN { for (i = 1; i <= 20000; i++) printf "A\tt\talignment\t%d:%d\t%d:%d\t5\t+\n", i, i, i + 50, i + 50 }' > in
"$prog" in -o - --format html 2> err | head -c 10 > /dev/null
status=${PIPESTATUS[0]}
expect_status 1; expect_err '^aliplot: cannot write standard output: Broken pipe$'
for target in /dev/full -; do
  "$prog" in -o $target --format svg > /dev/full 2> err; status=$?
  expect_status 1; expect_err '^aliplot: cannot write .*: No space left on device$'
done

# Input without alignments is refused with what it seems to hold.
start input_without_alignments_is_refused
: > in
echo old > out.svg
run in -o out.svg; expect_status 1; expect_err '^aliplot: in: no record to recognise the format by (it is empty)'
expect_old_output
printf '>chr1 a sequence\nACGTACGT\n' > in
run in -o out.svg; expect_status 1; expect_err '^aliplot: in, line 1: .*FASTA sequences, not alignments'
printf 'hello world\n' | gzip > in
run in -o out.svg; expect_status 1; expect_err '^aliplot: in, line 1: .*it looks like text, not alignments'
printf '# a comment\nA\tt\tsequence:sequence\t1:1\t10:10\t0\t.\tseq1 "A"; seq2 "B"\n' > in
run in -o out.svg; expect_status 1; expect_err '^aliplot: in: holds no alignments (read as gff)'
expect_old_output
printf 'q\t100\t0\t10\t+\tt\t200\t0\t10\t9\t10\t60\n' > in
report "1" "$line1" > chain
run in chain -o out.svg; expect_status 1; expect_err 'chain reports number the lines of an alignment file, but in holds paf'

# Several pairs: one is chosen with --pair.
start several_pairs
printf 'q\t100\t0\t10\t+\tt\t200\t0\t10\t9\t10\t60\nr\t100\t0\t10\t-\tt\t200\t5\t15\t9\t10\t60\n' > in
run in --pair t,r -o out.svg; expect_status 0; expect_xml out.svg
grep -q '>1 alignment<' out.svg || fail "not the one alignment of the pair"
run in --pair t,x -o out.svg; expect_status 1; expect_err 'no alignment of the pair t,x among its 2 pairs'

# alisyn's tables: refused with file and line, the old output kept.
start synteny_tables
printf 'q\t100\t0\t10\t+\tt\t200\t0\t10\t9\t10\t60\n' > in
printf '#id\treference\tref_start\tref_end\tquery\tquery_start\tquery_end\tstrand\tclass\talignments\tscore\treference_bases\tidentity\n' > in.blocks
printf '1\tt\t1\t10\tother\t1\t10\t+\tsyntenic\t1\t9\t10\t90.00\n' >> in.blocks
echo old > out.svg
run in --blocks in.blocks -o out.svg; expect_status 1
expect_err '^aliplot: in.blocks, line 2: names the query other, of which in holds no alignment'
expect_old_output; expect_no_leftovers
run in --blocks missing.tsv -o out.svg; expect_status 1; expect_err 'missing.tsv'
run in --assign in -o out.svg; expect_status 1; expect_err '^aliplot: in, line 1: not an assignment table of alisyn'
run - --blocks - -o out.svg; expect_status 2; expect_err 'only one input can be standard input'
sed -i 's/other/q/' in.blocks
gzip -c in.blocks > in.blocks.gz
run in --blocks in.blocks.gz -o out.svg; expect_status 0; expect_xml out.svg
grep -q '>syntenic: 1 block<' out.svg || fail "a gzip blocks table is not drawn"

start names_with_markup_and_bad_bytes
printf 'x\tt\tsequence:sequence\t1:1\t10:10\t0\t.\tseq1 "<a&b>"; seq2 "\xff\x01"\nx\tt\talignment\t1:1\t5:5\t3\t+\n' > 'in&<>'
run 'in&<>' -o out.svg; expect_status 0; expect_xml out.svg
run 'in&<>' -o out.html; expect_status 0
grep -q '<script>alert' out.html && fail "markup got into the page"
# U+FFFE and U+FFFF are UTF-8 but no XML: in the title, a name, and a
# report's name and lines.
fffe=$'\xef\xbf\xbe' ffff=$'\xef\xbf\xbf'
alignments | sed "s/\"B\"/\"B$fffe\"/" > "in$ffff"
report "1" "$line1" | sed "s/alignments: 5/alignments: 5$ffff/" > "chain$fffe"
run "in$ffff" "chain$fffe" -o out.svg; expect_status 0; expect_xml out.svg
grep -q -F "$fffe" out.svg && fail "U+FFFE got into the SVG"
grep -q -F "$ffff" out.svg && fail "U+FFFF got into the SVG"
grep -q -F '>score sum 5?<' out.svg || fail "the report's score sum is not shown with '?'"
run "in$ffff" "chain$fffe" -o out.html; expect_status 0
grep -q -F -e "$fffe" -e "$ffff" out.html && fail "U+FFFE or U+FFFF got into the page"

start gzip_and_standard_input
{ alignments; } | gzip > in.gz
report "1" "$line1" > chain
run in.gz chain -o out.svg; expect_status 0; expect_xml out.svg
alignments | "$prog" - chain -o out2.svg 2> err; status=$?
expect_status 0; cmp -s <(sed 's/in.gz/standard input/' out.svg) out2.svg || fail "standard input drew another plot"
rm -f out2.svg

finish
