#!/usr/bin/env bash
# Bad inputs and command lines of the built mumfind, and the outputs that
# must survive them; then several pairs: refused without a choice, one by
# --pair, each to a file of its own by --split.
# Usage: bad_input.sh MUMFIND SEQUENCE_DIR (the folder of the mitochondrial genomes)
set -uo pipefail
prog=$1
data=$(cd "$2" && pwd)
source "$(dirname "$0")/../../tests/bad_input_lib.sh"

run() {
  "$prog" "$@" > out 2> err
  status=$?
}

printf '>a\nACGTACGTAAACCCGGGTTTACGATCGATCGGGA\n' > ok.fa
printf '>b\nTTACGTACGTAAACCCGGGTTTACGATCGATCGGGATT\n' > ok2.fa

start missing_file
run ok.fa nothere.fa; expect_status 1; expect_one_line; expect_err "^mumfind: nothere.fa: cannot open"
start no_header
printf 'ACGT\n>a\nACGT\n' > bad.fa
run bad.fa ok.fa; expect_status 1; expect_one_line; expect_err "^mumfind: bad.fa, line 1: no header line"
start nul_byte
printf '>a\nAC\0GT\n' > bad.fa
run ok.fa bad.fa; expect_status 1; expect_err "^mumfind: bad.fa, line 2: NUL byte"
start fastq_quality_length
printf '@a\nACGT\n+\nIII\n' > bad.fq
run ok.fa bad.fq; expect_status 1; expect_err "bad.fq, line 4: quality shorter"
start empty_file
: > empty.fa
run empty.fa ok.fa; expect_status 1; expect_one_line; expect_err "^mumfind: empty.fa: no sequences"
start length_zero
printf '>a\nACGT\n>z\n' > zero.fa
run ok.fa zero.fa; expect_status 1; expect_err "^mumfind: zero.fa: sequence 'z' has length 0"
for value in 0 -3 abc 12x 99999999999; do
  start "min_length_$value"
  run -l "$value" ok.fa ok2.fa; expect_status 2; expect_err "^mumfind: -l needs a whole number"
done
start unknown_option
run --fast ok.fa ok2.fa; expect_status 2; expect_err "unknown option --fast"
start one_file
run ok.fa; expect_status 2; expect_err "needs a reference and a query"
start protein_letters_warn_once
printf '>p\nMKLLEEQQWWACGTACGTAAACCCGGGTTTACGATCGA\n' > prot.fa
run -l 10 ok.fa prot.fa; expect_status 0; expect_one_line
expect_err "^mumfind: prot.fa: warning: 6 characters outside the DNA alphabet"
grep -q 'alignment' out || fail "no match found beside the protein letters"
start gzip_and_standard_input
gzip -c ok2.fa > ok2.fa.gz
run ok.fa ok2.fa; cp out plain.gff
"$prog" ok.fa - < ok2.fa.gz > out 2> err; status=$?
expect_status 0
diff <(grep -v '^# reference' plain.gff) <(grep -v '^# reference' out) > /dev/null || fail "gzip on standard input differs"
start existing_output_kept_on_failure
echo precious > kept.gff
run -o kept.gff ok.fa bad.fa; expect_status 1
[ "$(cat kept.gff)" = precious ] || fail "a failed run replaced the output"
ls .kept* > /dev/null 2>&1 && fail "a temporary file was left"
start full_disk
"$prog" ok.fa ok2.fa > /dev/full 2> err; status=$?
expect_status 1; expect_err "^mumfind: cannot write standard output: No space left on device$"
# An output far larger than the stream's buffer fails before the last
# flush: the reason is kept.
for target in /dev/full -; do
  "$prog" -l 5 -o $target "$data/MT-human.fa" "$data/MT-orang.fa" > /dev/full 2> err; status=$?
  expect_status 1; expect_err "^mumfind: cannot write .*: No space left on device$"
done
start output_to_a_closed_pipe
for target in - /dev/stdout; do
  { sleep 0.3; "$prog" -o "$target" ok.fa ok2.fa 2> err; echo $? > status; } | true
  status=$(cat status)
  expect_status 1; expect_err '^mumfind: cannot write .*Broken pipe'
done

# Several pairs: two references (the mitochondria) against two queries.
cat "$data/MT-human.fa" > refs.fa; printf '>tiny\nACGTACGTAAACCCGGGTTTACGA\n' >> refs.fa
{ cat "$data/MT-orang.fa"; printf '>other\nGATTACAGATTACAGATTACAGATTACA\n'; } > queries.fa
start several_pairs_need_a_choice
run refs.fa queries.fa; expect_status 1; expect_err "hold 4 sequence pairs: choose one with --pair"
start pair_picks_one
run --pair MT_human,MT_orang refs.fa queries.fa; expect_status 0
"$prog" "$data/MT-human.fa" "$data/MT-orang.fa" > single.gff
diff <(grep -v '^#' out) <(grep -v '^#' single.gff) > /dev/null || fail "--pair differs from the pair alone"
start pair_unknown_name
run --pair MT_human,nobody refs.fa queries.fa; expect_status 1; expect_err "queries.fa: no sequence named 'nobody'"
start duplicate_names_refused
# Two queries named alike would share one --split file and one name in
# every output: the second would silently replace the first.
{ cat ok2.fa; printf '>b\nGATTACAGATTACAGATTACAGATTACA\n'; } > dup.fa
for mode in "--split dups" "--pair a,b" "--table"; do
  run $mode ok.fa dup.fa; expect_status 1; expect_one_line
  expect_err "^mumfind: dup.fa: sequences 1 and 2 are both named 'b'"
done
[ -e dups ] && fail "--split made its folder for a refused input"
start long_names_whole
# Names are the whole first word of the header: two that share their first
# 50 characters are different, and every output writes them whole.
long=$(printf 'n%.0s' $(seq 60))
printf '>%sA\nGATTACAGATTACAGATTACA\n>%sB desc\nTTACGTACGTAAACCCGGGTTTACGATCGATCGGGATT\n' "$long" "$long" > long.fa
run --pair "a,${long}B" ok.fa long.fa; expect_status 0
grep -q -F "seq2 \"${long}B\"" out || fail "the name is not whole in the alignment file: $(grep -v '^#' out | head -c 300)"
run --table ok.fa long.fa; expect_status 0
[ "$(cut -f 2 out | sort -u)" = "${long}B" ] || fail "the name is not whole in the table: $(head -c 300 out)"
run --split longpairs ok.fa long.fa; expect_status 0
[ "$(cut -f 3 longpairs/pairs.tsv | tail -n +2)" = "$(printf '%sA\n%sB' "$long" "$long")" ] ||
  fail "the names are not whole in pairs.tsv: $(cat longpairs/pairs.tsv)"
start names_an_alignment_file_cannot_carry
for name in '' '#b' 'b"c'; do
  printf '>%s\nTTACGTACGTAAACCCGGGTTTACGATCGATCGGGATT\n' "$name" > odd.fa
  run ok.fa odd.fa; expect_status 1; expect_one_line
  expect_err "^mumfind: odd.fa: the name '$name' of sequence 1 cannot be written to an alignment file"
  run --table ok.fa odd.fa; expect_status 0
done
start table_holds_every_pair
run --table -b refs.fa queries.fa; expect_status 0
[ "$(cut -f 1,2 out | sort -u | wc -l)" = 1 ] || fail "pairs without matches wrote lines"
start split_writes_a_file_per_pair
run --split pairs refs.fa queries.fa; expect_status 0
[ "$(wc -l < pairs/pairs.tsv)" = 5 ] || fail "pairs.tsv does not list 4 pairs: $(cat pairs/pairs.tsv)"
[ "$(ls pairs | wc -l)" = 5 ] || fail "not one file per pair: $(ls pairs)"
file=$(awk -F'\t' '$2 == "MT_human" && $3 == "MT_orang" { print $1 }' pairs/pairs.tsv)
diff <(grep -v '^#' "pairs/$file") <(grep -v '^#' single.gff) > /dev/null || fail "the split pair differs"
finish
