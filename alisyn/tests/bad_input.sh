#!/usr/bin/env bash
# Bad inputs and command lines for the built alisyn: a bad record stops the
# run with one message naming the file (or standard input) and the line,
# status 1, every existing output left as it was and no temporary file
# left; a bad value gives status 2 and the usage (the conventions of the
# command line itself are checked by tests/command_line.sh).
# Usage: bad_input.sh <alisyn binary> <folder of aligner output>
set -uo pipefail
prog=$1
data=$2
source "$(dirname "$0")/../../tests/bad_input_lib.sh"
export TMPDIR=$work/tmp
mkdir -p "$TMPDIR"

run() {
  "$prog" "$@" > out 2> err
  status=$?
}
earlier() { for f in r.blocks.tsv r.kept.paf r.assign.tsv r.pairs.tsv r.chain; do echo "an earlier result" > "$f"; done; }
unchanged() {
  for f in r.blocks.tsv r.kept.paf r.assign.tsv r.pairs.tsv r.chain; do
    [ "$(cat $f)" = "an earlier result" ] || fail "the existing output $f was changed"
  done
  [ -z "$(ls -A . "$TMPDIR" | grep -F -e .tmp -e alisyn-input)" ] || fail "a temporary file was left: $(ls -A . "$TMPDIR")"
}
# refused INPUT MESSAGE [ARGS...]: the run on INPUT into r.* stops with the
# one message "alisyn: MESSAGE..." (a pattern), status 1, nothing replaced.
refused() {
  local input=$1 message=$2
  shift 2
  earlier
  if [ "$input" = - ]; then run -o r "$@" - < stdin; else run -o r "$@" "$input"; fi
  expect_status 1
  [ "$(wc -l < err)" = 1 ] || fail "expected one message: $(head -c 300 err)"
  [[ "$(cat err)" == "alisyn: "$message* ]] || fail "message is not 'alisyn: $message...': $(head -c 300 err)"
  unchanged
}
usage() {
  run "$@"
  expect_status 2
  expect_err usage:
}

tab=$'\t'
paf() { printf 'q\t%s\t%s\t%s\t%s\tt\t200\t%s\t%s\t9\t10\t60\n' "$@"; }

start bad_paf_line
{ paf 100 0 10 + 0 10; printf 'q\t100\t0\t10\t+\tt\t20\n'; } > in.paf
refused in.paf 'in.paf, line 2: a PAF line has at least 12'

start bad_line_on_standard_input_names_it
{ paf 100 0 10 + 0 10; paf 100 0 10 + 0 10; printf 'q\t100\t0\t10\t+\tt\t20\n'; } > stdin
refused - 'standard input, line 3: a PAF line has at least 12'

start bad_gzip_line_on_standard_input
{ paf 100 0 10 + 0 10; printf 'q\t100\t0\t10\t+\tt\t20\n'; } | gzip > stdin
refused - 'standard input, line 2: a PAF line'

start length_changes
{ paf 100 0 10 + 0 10; paf 90 20 30 + 20 30; } > in.paf
refused in.paf 'in.paf, line 2: the length of q differs'

start missing_input
refused nothing.paf 'cannot'

start unrecognised_input
echo "hello" > in.txt
refused in.txt 'in.txt'

start chain_file_asked_where_none_can_be
refused "$data/mt.blastn.outfmt6" 'no chain file can be written: the input does not state the length' --chain

start output_folder_missing
run -o no/such/folder/r "$data/mt.minimap2.paf"
expect_status 1
expect_err 'alisyn: cannot'

start full_disk_on_standard_output
"$prog" "$data/mt.minimap2.paf" > /dev/full 2> err
status=$?
expect_status 1
expect_err 'No space left on device'

start usage_errors
usage
usage a.paf b.paf
usage --filter some a.paf
usage --max-gap -1 a.paf
usage --max-overlap=x a.paf
usage --min-score 1e999 a.paf
usage --frobnicate a.paf
usage --chain a.paf
usage -o

start standard_input_gzip_gives_the_file_result
gzip -c "$data/mt.minimap2.paf" | "$prog" -o s - 2> err
status=$?
expect_status 0
"$prog" -o f "$data/mt.minimap2.paf" 2> /dev/null
for suffix in blocks.tsv kept.paf assign.tsv pairs.tsv chain; do cmp -s "s.$suffix" "f.$suffix" || fail "s.$suffix differs"; done
[ -z "$(ls -A "$TMPDIR")" ] || fail "the copy of standard input was left: $(ls -A "$TMPDIR")"

finish
