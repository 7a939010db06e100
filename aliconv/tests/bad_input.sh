#!/usr/bin/env bash
# Hostile inputs for the built aliconv, made at run time: every bad record
# stops the run with one message naming the file and the line (or BAM
# record), status 1, and an existing output left as it was; outputs that
# cannot be written fail without being killed.
# Usage: bad_input.sh <aliconv binary> <folder of aligner output>
set -uo pipefail
prog=$1
data=$2
source "$(dirname "$0")/../../tests/bad_input_lib.sh"

# run ARGS...: leaves the status in $status, messages in "err".
run() {
  "$prog" "$@" > out 2> err
  status=$?
}
# refused INPUT WHERE WHAT [ARGS...]: the conversion of INPUT into an
# existing file stops with "aliconv: INPUT, WHERE: WHAT..." alone (WHERE and
# WHAT are patterns), status 1, and leaves the file and no temporary file.
refused() {
  local input=$1 where=$2 what=$3
  shift 3
  echo "an earlier result" > kept.gff
  run -o kept.gff "$@" "$input"
  expect_status 1
  [ "$(wc -l < err)" = 1 ] || fail "expected one message: $(head -c 300 err)"
  [[ "$(cat err)" == "aliconv: $input, "$where": "$what* ]] ||
    fail "message is not 'aliconv: $input, $where: $what...': $(head -c 300 err)"
  [ "$(cat kept.gff)" = "an earlier result" ] || fail "the existing output was changed"
  [ -z "$(ls -A | grep -F .tmp)" ] || fail "a temporary file was left: $(ls -A | grep -F .tmp)"
}
# taken INPUT [ARGS...]: the conversion of INPUT succeeds without messages.
taken() {
  local input=$1
  shift
  run "$@" "$input"
  expect_status 0
  [ ! -s err ] || fail "unexpected messages: $(head -c 300 err)"
}
expect_line() { grep -q -x -F -- "$1" out || fail "no line '$1' in the output: $(grep -v '^#' out | head -c 300)"; }

tab=$'\t'
# paf QUERY-FIELDS... : a PAF line of q (100 bases) on t (200 bases) with
# the given fields from the sixth on replaced where named.
paf_ok="q${tab}100${tab}0${tab}10${tab}+${tab}t${tab}200${tab}0${tab}10${tab}9${tab}10${tab}60"
sq="@SQ${tab}SN:t${tab}LN:200"
sam_tail="${tab}*${tab}0${tab}0${tab}*${tab}*"
delta_head=$'t.fa q.fa\nNUCMER\n>t q 200 100'
coords_head=$'t.fa q.fa\nNUCMER\n\n'"[S1]${tab}[E1]${tab}[S2]${tab}[E2]${tab}[LEN 1]${tab}[LEN 2]${tab}[% IDY]${tab}[TAGS]"
general_head="#score${tab}name1${tab}strand1${tab}size1${tab}zstart1${tab}end1${tab}name2${tab}strand2${tab}size2${tab}zstart2${tab}end2${tab}identity"

# --- PAF
start paf_truncated_last_line
printf '%s\n%s' "$paf_ok" "q${tab}100${tab}0${tab}10${tab}+${tab}t${tab}20" > in.paf
refused in.paf 'line 2' 'a PAF line has at least 12'

start paf_negative_length
printf '%s\n' "${paf_ok/100/-100}" > in.paf
refused in.paf 'line 1' "the query length is not a whole number: '-100'" -i paf

start paf_begin_above_end
printf '%s\n' "q${tab}100${tab}10${tab}5${tab}+${tab}t${tab}200${tab}0${tab}10${tab}9${tab}10${tab}60" > in.paf
refused in.paf 'line 1' 'the query interval 10-5 is empty'

start paf_end_beyond_target
printf '%s\n' "q${tab}100${tab}0${tab}10${tab}+${tab}t${tab}200${tab}0${tab}201${tab}9${tab}10${tab}60" > in.paf
refused in.paf 'line 1' 'the target interval 0-201 is empty or runs past'

start paf_beyond_64_bits
printf '%s\n' "q${tab}100${tab}0${tab}10${tab}+${tab}t${tab}18446744073709551616${tab}0${tab}10${tab}9${tab}10${tab}60" > in.paf
refused in.paf 'line 1' 'the target length is not a whole number' -i paf

start paf_more_matches_than_columns
printf '%s\n' "${paf_ok/${tab}9${tab}10${tab}/${tab}11${tab}10${tab}}" > in.paf
refused in.paf 'line 1' 'more matches than the alignment block length'

start paf_aligner_score_not_an_integer
for score in 0x10 1e3 ' 5' abc; do
  printf '%s\tAS:i:%s\n' "$paf_ok" "$score" > in.paf
  refused in.paf 'line 1' 'the AS:i tag is not a whole number' -i paf
done

start paf_cigar_inconsistent_with_coordinates
for cigar in 9M 11M 5M1I5M 10M1D 10Q 10 M; do
  printf '%s\tcg:Z:%s\n' "$paf_ok" "$cigar" > in.paf
  refused in.paf 'line 1' 'the *CIGAR' --fragments
done

start paf_cs_inconsistent_with_coordinates
for cs in :9 :5*a :5+ac:5 ~ag :5/4; do
  printf '%s\tcs:Z:%s\n' "$paf_ok" "$cs" > in.paf
  refused in.paf 'line 1' 'the cs:Z' --fragments
done

# Lengths that wrap around 64 bits walk back to the right end: the blocks
# would lie far outside the alignment, or the walk would skip around the
# whole 64-bit range between two columns.
start paf_cigar_lengths_wrapping_64_bits
for cigar in 18446744073709551615M1D1I10M 10M18446744073709551615D1D 10M18446744073709551615I1I \
             18446744073709551615I1I10M 5M18446744073709551615D1D5M; do
  printf '%s\tcg:Z:%s\n' "$paf_ok" "$cigar" > in.paf
  refused in.paf 'line 1' 'the cg:Z CIGAR does not span' --fragments
done
for cs in :18446744073709551615-a+c:10 :10~ag18446744073709551615ac~ag1ac; do
  printf '%s\tcs:Z:%s\n' "$paf_ok" "$cs" > in.paf
  refused in.paf 'line 1' 'the cs:Z string does not span' --fragments
done

# The chainer reads the first word of a line as the name, skips lines that
# start with '#', and reads the sequence line's names up to a quote: a name
# it cannot read would lose alignments without a word.
start names_the_alignment_file_cannot_carry
for name in 't x' '#t' 't"x' $'t\vx' $'t\001x'; do
  printf 'q\t100\t0\t10\t+\t%s\t200\t0\t10\t9\t10\t60\n' "$name" > in.paf
  refused in.paf 'line 1' 'the sequence name' -i paf
  printf '%s\t100\t0\t10\t+\tt\t200\t0\t10\t9\t10\t60\n' "$name" > in.paf
  refused in.paf 'line 1' 'the sequence name' -i paf
done
printf 'q\0x\t100\t0\t10\t+\tt\t200\t0\t10\t9\t10\t60\n' > in.paf
refused in.paf 'line 1' 'the sequence name' -i paf

# The chainer's coordinates end below 2^63 - 1, and its scores lie within
# 10^15: a record beyond either is refused in every format, so that nothing
# is written that alichain or aliconv would not read back.
start coordinates_and_scores_the_alignment_file_cannot_carry
top=9223372036854775807
beyond='the alignment cannot be written as an alignment line'
printf 'q\t100\t0\t10\t+\tt\t%s\t%s\t%s\t9\t10\t60\n' $top $((top - 10)) $top > in.paf
refused in.paf 'line 1' "$beyond: coordinate out of range"
printf 'q\t%s\t%s\t%s\t-\tt\t200\t0\t10\t9\t10\t60\n' $top $((top - 10)) $top > in.paf
refused in.paf 'line 1' "$beyond: coordinate out of range"
refused in.paf 'line 1' "$beyond: coordinate out of range" --swap
printf '%s\tAS:i:9000000000000000000\n' "$paf_ok" > in.paf
refused in.paf 'line 1' "$beyond: score not finite or too large"
printf 'q\tt\t90.0\t10\t1\t0\t1\t10\t%s\t%s\t1e-5\t31\n' $((top - 9)) $top > in.tsv
refused in.tsv 'line 1' "$beyond: coordinate out of range" -i blast6
printf 'q\tt\t90.0\t10\t1\t0\t1\t10\t%s\t%s\t1e-5\t31\n' $top $((top - 9)) > in.tsv
refused in.tsv 'line 1' "$beyond: coordinate out of range" -i blast6
printf 'a b\nNUCMER\n>t q %s 100\n%s %s 1 10 0 0 0\n0\n' $top $((top - 9)) $top > in.delta
refused in.delta 'line 4' "$beyond: coordinate out of range"
printf '%s\n%s\t%s\t1\t10\t10\t10\t90.00\tt\tq\n' "$coords_head" $((top - 9)) $top > in.coords
refused in.coords 'line 5' "$beyond: coordinate out of range"
printf '%s\n31\tt\t+\t%s\t%s\t%s\tq\t+\t100\t0\t10\t9/10\n' "$general_head" $top $((top - 10)) $top > in.general
refused in.general 'line 2' "$beyond: coordinate out of range"
printf '##maf\na score=5\ns t %s 2 + %s AC\ns q 0 2 + 9 AC\n\n' $((top - 2)) $top > in.maf
refused in.maf 'line 2' "$beyond: coordinate out of range"

start paf_crlf_and_no_final_line_break
printf '%s\r\n%s\tcg:Z:10M' "$paf_ok" "${paf_ok//${tab}0${tab}10${tab}/${tab}20${tab}30${tab}}" > in.paf
taken in.paf --fragments
expect_line "t${tab}aliconv${tab}alignment${tab}1:1${tab}10:10${tab}9.0${tab}+${tab}record 1"
expect_line "t${tab}aliconv${tab}fragment${tab}21:21${tab}30:30${tab}10${tab}+${tab}record 2; fragment 1"

# --- SAM and BAM
start sam_bad_records
for record in "q${tab}0${tab}t${tab}1${tab}60${tab}10M${sam_tail}${tab}AS:f:3.5" \
              "q${tab}0${tab}t${tab}1${tab}60${tab}10M${sam_tail}${tab}AS:Z:abc" \
              "q${tab}0${tab}t${tab}1${tab}60${tab}10M${sam_tail}${tab}AS:i:abc" \
              "q${tab}0${tab}t${tab}1${tab}60${tab}10M${sam_tail}${tab}NM:Z:2"; do
  printf '%s\n%s\n' "$sq" "$record" > in.sam
  refused in.sam 'line 2' 'the '
done
printf '%s\nq\t0\tt\t195\t60\t10M%s\n' "$sq" "$sam_tail" > in.sam
refused in.sam 'line 2' "the alignment runs past the reference's length 200"
printf '%s\nq\t0\tt\t1\t60\t10M%s\nq\t0\tt\t1\n' "$sq" "$sam_tail" > in.sam
refused in.sam 'line 3' 'malformed SAM record'
printf '%s\nq\t0\tt\t1\t60\t10M%s\tNM:i:11\n' "$sq" "$sam_tail" > in.sam
refused in.sam 'line 2' "the NM:i tag exceeds"
printf '%s\nq\t0\tt\t1\t60\t5H5D\t*\t0\t0\t*\t*\n' "$sq" > in.sam
refused in.sam 'line 2' "the CIGAR aligns no base of the read"

# htslib reads position 0 as unplaced, like a reference the header lacks.
start sam_position_0
printf '%s\nq\t0\tt\t0\t60\t10M%s\n' "$sq" "$sam_tail" > in.sam
refused in.sam 'line 2' "the record is mapped to 't' but its position is 0"
printf '%s\nq\t0\tu\t0\t60\t10M%s\n' "$sq" "$sam_tail" > in.sam
refused in.sam 'line 2' "no @SQ header line names the reference 'u'"
printf '%s\nq\t4\tt\t0\t0\t*%s\n' "$sq" "$sam_tail" > in.sam
taken in.sam
expect_line '# no alignments'

start sam_reference_without_length
printf '@SQ\tSN:t\tLN:abc\nq\t0\tt\t1\t60\t10M%s\n' "$sam_tail" > in.sam
refused in.sam 'line 2' 'the @SQ header line of t gives no length'

start sam_only_headers_holds_no_alignments
printf '@HD\tVN:1.6\n%s\n' "$sq" > in.sam
taken in.sam
expect_line '# no alignments'

start bam_cut_within_a_record
gzip -dc "$data/mt.minimap2.bam" | head -c 900 > in.bam
refused in.bam 'record 6' 'damaged or truncated record'

start bam_on_standard_input_must_be_named
run - < "$data/mt.minimap2.bam"
expect_status 1
expect_err 'name the format with -i bam'
run -i bam - < "$data/mt.minimap2.bam"
expect_status 0
[ "$(grep -c "${tab}alignment${tab}" out)" = 9 ] || fail "not the 9 alignments"

# --- BLAST
start blast_bad_records
blast() {  # COLUMNS-3-TO-12 WHAT
  printf 'q\tt\t%s\n' "$1" > in.tsv
  refused in.tsv 'line 1' "$2" -i blast6
}
blast "90.0${tab}10${tab}1${tab}0${tab}0${tab}10${tab}1${tab}10${tab}1e-5${tab}31" 'a position is 0'
blast "190.0${tab}10${tab}1${tab}0${tab}1${tab}10${tab}1${tab}10${tab}1e-5${tab}31" 'the % identity is no percentage'
blast "90.0${tab}10${tab}1${tab}0${tab}1${tab}10${tab}1${tab}10${tab}1e-5${tab}1e16" 'the bit score is no number'
blast "90.0${tab}10${tab}1${tab}0${tab}1${tab}18446744073709551616${tab}1${tab}10${tab}1e-5${tab}31" 'q. end is not a whole number'
blast "90.0${tab}10${tab}1${tab}0${tab}1${tab}10${tab}1${tab}10${tab}1e-5" 'a BLAST tabular line has the 12 default columns'
printf '# BLASTN 2.12.0+\n# Query: q\n# 0 hits found\n' > in.tsv
taken in.tsv
expect_line '# no alignments'

# --- delta
start delta_bad_records
printf '%s\n1 10 1 10 0 0 0\n-9223372036854775808\n0\n' "$delta_head" > in.delta
refused in.delta 'line 5' 'the indels run past'
printf '%s\n1 10 1 10 0 0 0\n9223372036854775807\n0\n' "$delta_head" > in.delta
refused in.delta 'line 5' 'the indels run past'
printf '%s\n1 10 1 10 0 0 0\n5x\n0\n' "$delta_head" > in.delta
refused in.delta 'line 5' "an indel distance is not a whole number: '5x'"
printf '%s\n1 10 1 10 11 0 0\n0\n' "$delta_head" > in.delta
refused in.delta 'line 5' 'more errors than alignment columns'
printf '%s\n1 10 1 10 0 0\n0\n' "$delta_head" > in.delta
refused in.delta 'line 4' 'an alignment line of a delta file has 7 numbers'
printf '%s\n1 10 1 101 0 0 0\n0\n' "$delta_head" > in.delta
refused in.delta 'line 4' 'the alignment lies outside its sequences'
printf '%s\n1 10 1 10 0 0 0\n0\n>t q 300 100\n1 10 1 10 0 0 0\n0\n' "$delta_head" > in.delta
refused in.delta 'line 7' "the sequences' lengths differ"

# --- MAF
start maf_bad_records
printf '##maf\na score=5\ns t 18446744073709551615 2 + 9 AC\ns q 0 2 + 9 AC\n\n' > in.maf
refused in.maf 'line 3' "the row is empty or runs past its source's size"
printf '##maf\na score=5\ns t 18446744073709551615 2 - 9 AC\ns q 0 2 + 9 AC\n\n' > in.maf
refused in.maf 'line 3' "the row is empty or runs past its source's size"
printf '##maf\na score=5\ns t 8 2 + 9 AC\ns q 0 2 + 9 AC\n\n' > in.maf
refused in.maf 'line 3' "the row is empty or runs past its source's size"
printf '##maf\na score=5\ns t 0 2 + 9 AC\ns q 0 2 + 9 A\n\n' > in.maf
refused in.maf 'line 2' "the block's rows differ in length"
printf '##maf\na score=5\ns t 0 2 + 9 AC\n' > in.maf
refused in.maf 'line 2' "a block with other than two 's' lines"
printf '##maf\na score=x5\ns t 0 2 + 9 AC\ns q 0 2 + 9 AC\n' > in.maf
refused in.maf 'line 2' "the block's score is no number"
printf '##maf\n' > in.maf
taken in.maf
expect_line '# no alignments'

# --- show-coords and lastz general tables
start coords_and_general_bad_records
printf '%s\n10\t1\t1\t10\t10\t10\t90.00\tt\tq\n' "$coords_head" > in.coords
refused in.coords 'line 5' 'S1 must lie from 1 to E1'
printf '%s\n1\t10\t1\t10\t10\t10\t90.00\tt\n' "$coords_head" > in.coords
refused in.coords 'line 5' 'expected 9 tab-separated columns'
printf '%s\n31\tt\t+\t200\t10\t5\tq\t+\t100\t90\t100\t9/10\n' "$general_head" > in.general
refused in.general 'line 2' 'an interval is empty or runs past'
printf '%s\n31\tt\t+\t200\t0\t10\tq\t+\t100\t90\t100\t90.0%%\n' "$general_head" > in.general
refused in.general 'line 2' "the identity is not 'same/aligned'"

# Blank lines (empty or only blanks and tabs) are skipped in every text
# format; MAF ends a block at one. A last line needs no line break.
start blank_lines_and_no_final_line_break
for file in mt.minimap2.paf mt.minimap2.sam mt.blastn.outfmt6 mt.blastn.outfmt7 \
            mt.nucmer.delta mt.nucmer.coords mt.lastz.maf mt.lastz.general; do
  "$prog" --fragments "$data/$file" | grep -v '^# aliconv: the alignments of' > clean.gff
  cp "$data/$file" trailing.in
  printf '\n \t\n\n' >> trailing.in
  head -c -1 "$data/$file" > unended.in
  # A blank line before the last line (in delta, inside an indel list); in
  # MAF, where one ends a block, after the header.
  where='$i'
  [ "$file" = mt.lastz.maf ] && where='1a'
  sed "$where\\\\t" "$data/$file" > inner.in
  for variant in trailing.in unended.in inner.in; do
    run --fragments "$variant"
    expect_status 0
    [ ! -s err ] || fail "$file as $variant: $(head -c 300 err)"
    grep -v '^# aliconv: the alignments of' out | cmp -s - clean.gff ||
      fail "$file as $variant does not convert as the file itself"
  done
done

# --- the alignment file format, passed through
# Another format forced through as an alignment file would give the chainer
# no alignment: a file without alignment lines is refused at its first line
# of no kind the format knows.
start gff_forced_on_another_format
cp "$data/mt.minimap2.paf" in.paf
refused in.paf 'line 1' 'not an alignment file line' -i gff
cp "$data/mt.lastz.maf" in.maf
refused in.maf 'line 15' 'not an alignment file line' -i gff
printf '# only comments\n\n \t\n#\n' > in.gff
taken in.gff -i gff
[ "$(grep -c -v '^# aliconv' out)" = 4 ] || fail "not the comments and blank lines: $(cat out)"
seq_line=$'x\tsrc\tsequence:sequence\t1:1\t100:100\t0\t.\tseq1 "x"; seq2 "y"'
printf '%s\nx\tsrc\tfragment\t1:1\t9:9\t5\t+\n' "$seq_line" > in.gff
taken in.gff
printf '%s\nx\tsrc\tother\t1:1\t9:9\t5\t+\n' "$seq_line" > in.gff
refused in.gff 'line 2' 'not an alignment file line'
printf '%s\nforeign line\nx\tsrc\talignment\t1:1\t9:9\t5\t+\n' "$seq_line" > in.gff
taken in.gff
expect_line 'foreign line'

# --- recognition
start unrecognisable_inputs
for text in 'hello world' '\0\0\0' "q${tab}0${tab}alignment${tab}1${tab}60${tab}10M${sam_tail}"; do
  printf "$text\n" > in.txt
  refused in.txt 'line 1' ''
done
grep -q 'name the format with -i' err || fail "no advice to name the format: $(cat err)"
for text in '' '# only a comment\n\n'; do
  printf "$text" > in.txt
  run in.txt
  expect_status 1
  expect_err '^aliconv: in.txt: no record to recognise the format by'
done

start forced_format_that_does_not_fit
for format in sam maf delta coords general blast6 bam; do
  run -i $format "$data/mt.minimap2.paf"
  expect_status 1
  expect_err "^aliconv: $data/mt.minimap2.paf"
done

# --- compressed input cut short: the message names the line where it ends
start gzip_cut_short
for i in $(seq 100); do cat "$data/mt.minimap2.paf"; done | gzip -c | head -c 6000 > cut.paf.gz
refused cut.paf.gz 'line [1-9]*' 'gzip data cut short'
grep -q 'fd:' err && fail "the message shows zlib's descriptor: $(cat err)"
run - < cut.paf.gz
expect_status 1
expect_err '^aliconv: standard input, line [0-9]*: gzip data cut short'

# --- --pick, --pair and --split
start pick_foreign_and_broken_reports
"$prog" "$data/mt.minimap2.paf" -o mm.gff
report() {  # the report of mm.gff with the member numbers and records given
  printf '##gff-version 2\n##alichain -f mm.gff\n##Number of used alignments:\t%s\n' "$1"
  printf '##Score sum of these alignments: 1\n##Used alignments:\n## %s\n##\n' "$2"
  grep '^#' mm.gff
  grep -F -e "${tab}record $3" mm.gff | sed "s/record $3\$/record $4/"
}
report 1 1 1 1 > r1
run --pick r1 "$data/mt3.minimap2.paf"
expect_status 1; expect_err 'is not what .* converts to'
report 1 1 9 99 > r99
run --pick r99 "$data/mt.minimap2.paf"
expect_status 1; expect_err 'lists record 99, which'
report 1 1 9 99999999999999999999999 > rhuge
run --pick rhuge "$data/mt.minimap2.paf"
expect_status 1; expect_err 'carries no record number'
report 2 1 1 1 > rcount
run --pick rcount "$data/mt.minimap2.paf"
expect_status 1; expect_err 'rcount, line 7: the member list does not hold'
head -3 "$data/mt.minimap2.paf" > three.paf
report 1 9 9 9 > r9
run --pick r9 three.paf
expect_status 1; expect_err 'lists record 9, which three.paf does not hold'
echo "an earlier pick" > picked.paf
run --pick r9 -o picked.paf three.paf
[ "$(cat picked.paf)" = "an earlier pick" ] || fail "the earlier pick was replaced"
run --pick mm.gff "$data/mt.minimap2.paf"
expect_status 1; expect_err 'mm.gff, line 1: not a chain report'

# The member list numbers the alignment lines of the conversion; a list
# that disagrees with the member lines, or a report cut down to its "##"
# lines, is refused.
start pick_list_and_member_lines_that_disagree
listed() {  # listed LIST RECORDS-PATTERN: a report of mm.gff
  printf '##gff-version 2\n##alichain -f mm.gff\n##Number of used alignments:\t%s\n' "$(echo $1 | wc -w)"
  printf '##Score sum of these alignments: 1\n##Used alignments:\n## %s\n##\n' "$1"
  grep '^#' mm.gff
  grep -E "${tab}record ($2)\$" mm.gff
}
listed "1 9" "1|9" > agree
run --pick agree "$data/mt.minimap2.paf"
expect_status 0; [ "$(wc -l < out)" = 2 ] || fail "not the two records: $(cut -f1-9 out)"
listed "1 2" "1|9" > disagree
run --pick disagree "$data/mt.minimap2.paf"
expect_status 1
expect_err '^aliconv: disagree: its member list names alignment 2 where it copies the line of record 9, which is alignment 9'
listed "1 9" "x" > cut
run --pick cut "$data/mt.minimap2.paf"
expect_status 1; expect_err '^aliconv: cut, line 7: the member list that ends here names 2 alignments, but the report copies 0'

# A file of --split numbers its records as the whole input does, so its
# report picks from the whole input.
start pick_from_a_split_file
"$prog" --split pairs "$data/mt3.minimap2.paf"
file=pairs/PA%23NC_002083.1X-vs-MT_orang.gff
{
  printf '##gff-version 2\n##Number of used alignments:\t1\n##Used alignments:\n## 2\n##\n'
  grep '^#' "$file"
  grep -F "${tab}alignment${tab}" "$file" | tail -1
} > split.report
run --pick split.report "$data/mt3.minimap2.paf"
expect_status 0
[ "$(wc -l < out)" = 1 ] && [ "$(cut -f1,6 out)" = "MT_orang${tab}PA#NC_002083.1X" ] ||
  fail "not the one record of the pair: $(cut -f1-9 out)"

# The alignment file format passes through: its records are its alignment
# lines, numbered as the chainer numbers them.
start pick_over_the_alignment_file_format
{
  printf 'x\tsrc\tsequence:sequence\t1:1\t100:100\t0\t.\tseq1 "x"; seq2 "y"\n'
  printf 'x\tsrc\talignment\t%s\t%s\t5\t+\n' 1:1 10:10 20:20 30:30 40:40 50:50
  printf 'x\tsrc\tfragment\t41:41\t50:50\t5\t+\n'
} > hand.gff
"$prog" hand.gff -o passed.gff
{
  printf '##gff-version 2\n##Number of used alignments:\t2\n##Used alignments:\n## 1 3\n##\n'
  grep '^#' passed.gff
  grep -F "${tab}alignment${tab}" passed.gff | sed -n '1p;3p'
} > hand.report
run --pick hand.report hand.gff
expect_status 0
[ "$(cat out)" = "$(grep -v -e '20:20' -e '^#' hand.gff)" ] || fail "not the sequence line and records 1 and 3: $(cat out)"

start pair_that_does_not_exist
for pair in MT_human,MT_orang nope,MT_human 'MT_orang,MT_human,x'; do
  echo "an earlier result" > kept.gff
  run --pair "$pair" -o kept.gff "$data/mt3.minimap2.paf"
  expect_status 1
  expect_err "holds no alignment of the pair $pair\$"
  [ "$(cat kept.gff)" = "an earlier result" ] || fail "the existing output was changed"
done

start split_names_that_need_escaping
long=$(printf 'n%.0s' $(seq 300))
for name in ../x/y . .. "$long" "${long}x" 'A' 'a' 'é' 'a-vs-b'; do
  printf 'q\t100\t0\t10\t+\t%s\t200\t0\t10\t9\t10\t60\n' "$name"
done > names.paf
printf 'b\t100\t0\t10\t+\ta\t200\t0\t10\t9\t10\t60\n' >> names.paf
mkdir split && cd split
run --split names ../names.paf
expect_status 0
[ "$(ls | grep -v -x -e out -e err)" = names ] || fail "files beside the folder: $(ls)"
[ "$(ls names | wc -l)" = 11 ] || fail "not one file per pair and the index: $(ls names)"
[ "$(ls -A names | grep -c '^\.')" = 0 ] || fail "a hidden file: $(ls -A names)"
tail -n +2 names/pairs.tsv | while IFS=$tab read -r file reference query rest; do
  [ "$(grep -c "seq1 \"$reference\"; seq2 \"$query\"" "names/$file")" = 1 ] ||
    fail "names/$file is not the pair $reference, $query"
  [ "${#file}" -le 255 ] || fail "file name of ${#file} bytes"
done
cd ..

# --- outputs that cannot be written
start output_to_a_full_device
run "$data/mt.minimap2.paf" -o /dev/full
expect_status 1; expect_err '^aliconv: cannot write /dev/full: No space left on device'
"$prog" "$data/mt.minimap2.paf" > /dev/full 2> err
status=$?
expect_status 1; expect_err '^aliconv: cannot write standard output: No space left on device'
# An output far larger than the stream's buffer fails at a write before the
# last flush: its reason is kept.
for target in /dev/full -; do
  "$prog" --fragments "$data/mt.lastz.maf" -o $target > /dev/full 2> err
  status=$?
  expect_status 1; expect_err '^aliconv: cannot write .*: No space left on device$'
done
# BAM is written through htslib, which leaves the reason in errno.
"$prog" "$data/mt.minimap2.bam" -o mm.gff
report 1 9 9 9 > rbam
run --pick rbam -o /dev/full "$data/mt.minimap2.bam"
expect_status 1; expect_err '^aliconv: cannot write /dev/full: No space left on device'

start output_to_a_closed_pipe
for target in - /dev/stdout; do
  { sleep 0.3; "$prog" "$data/mt.minimap2.paf" -o "$target" 2> err; echo $? > status; } | true
  status=$(cat status)
  expect_status 1; expect_err 'Broken pipe'
done
{ sleep 0.3; "$prog" --fragments "$data/mt.lastz.maf" 2> err; echo $? > status; } | true
status=$(cat status)
expect_status 1; expect_err '^aliconv: cannot write standard output: Broken pipe$'
{ sleep 0.3; "$prog" --pick r9 "$data/mt.minimap2.paf" 2> err; echo $? > status; } | true
status=$(cat status)
expect_status 1; expect_err 'Broken pipe'
{ sleep 0.3; "$prog" --pick rbam "$data/mt.minimap2.bam" 2> err; echo $? > status; } | true
status=$(cat status)
expect_status 1; expect_err 'cannot write standard output: Broken pipe'

finish
