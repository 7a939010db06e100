#!/usr/bin/env bash
# Hostile and oversized inputs for the built alichain, made at run time:
# each case checks the exit status, the message and the report.
# Usage: bad_input.sh <alichain binary>
set -uo pipefail
prog=$1
source "$(dirname "$0")/../../tests/bad_input_lib.sh"
tab=$'\t'

# Each case starts without an input or a report of an earlier one.
start_case() { start "$1"; rm -f in in.chainout; }
# ali XB:YB XE:YE SCORE: one alignment line.
ali() { printf 'x\tsrc\talignment\t%s\t%s\t%s\t+\n' "$1" "$2" "$3"; }
# run ARGS...: leaves the status in $status, messages in "err".
run() {
  "$prog" "$@" > out 2> err
  status=$?
}
expect_no_err() { [ ! -s err ] || fail "unexpected messages: $(head -c 300 err)"; }
expect_members() {  # the member list line of the report in "out" or in.chainout
  grep -q -x -- "## $1" "${2:-out}" || fail "members are not '$1': $(grep -A1 'Used alignments' "${2:-out}" | tail -1)"
}
expect_refused() {  # LINE_NUMBER: one error line naming the file and line, no report
  expect_status 8
  [ "$(wc -l < err)" = 1 ] || fail "expected one message: $(cat err)"
  expect_err "^Error: Alignment file in.* line $1"
  [ ! -e in.chainout ] || fail "a report was written"
}

start_case binary_garbage
awk 'BEGIN { srand(11); for (i = 0; i < 300000; i++) printf "%c", 1 + int(rand() * 255) }' > in
printf '\0\n\0\0' >> in
run -f in; expect_status 0
grep -q '^##Number of used alignments:.0$' in.chainout || fail "garbage made a chain"

start_case nul_inside_a_line
{ ali 10:20 50:60 5; printf 'x\tsrc\talignment\t60:70\t90:95\t3\t+\tnote\0here\n'; } > in
run -f in; expect_status 0; expect_members '1 2' in.chainout
grep -q -a "note.here" in.chainout || fail "the line with a NUL byte was not copied whole"

start_case ten_megabyte_line
{ ali 10:20 50:60 5 | tr -d '\n'; printf '\t'; head -c 10000000 /dev/zero | tr '\0' 'w'; echo; ali 60:70 90:95 3; } > in
run -f in; expect_status 0; expect_members '1 2' in.chainout
[ "$(wc -c < in.chainout)" -gt 10000000 ] || fail "the long line was not copied whole"

start_case million_blank_lines
{ ali 10:20 50:60 5; yes '' | head -n 1000000; ali 60:70 90:95 3; yes ' ' | head -n 1000; } > in
run in; expect_status 0; expect_no_err; expect_members '1 2'

start_case crlf_and_mixed_line_endings
{ ali 10:20 50:60 5 | sed 's/$/\r/'; printf '#note\r\n'; ali 60:70 90:95 3; ali 100:100 120:120 1 | tr -d '\n'; } > in
run in; expect_status 0; expect_no_err; expect_members '1 2 3'
[ "$(tail -c 1 out)" = "" ] || fail "the last copied line has no line break"

start_case coordinates_at_the_64_bit_limits
{ ali -9223372036854775807:-9223372036854775806 9223372036854775806:9223372036854775806 5; } > in
run in; expect_status 0; expect_members '1'
for bad in '-9223372036854775808:1 5:5' '1:1 9223372036854775807:5' '1:1 5:9223372036854775807' \
           '1:-9223372036854775808 5:5' '1:-9223372036854775807 5:5' '1:1 5:-9223372036854775807' \
           '1:1 9223372036854775808:5' '1:1 5:-9223372036854775809' '1:1 5:99999999999999999999999'; do
  start_case "coordinates_beyond_the_limits ($bad)"
  { ali 10:20 50:60 5; ali ${bad% *} ${bad#* } 5; } > in
  run -f in; expect_refused 2
done

# The bound holds for the number as written: single precision rounds the
# last two onto 10^15.
for score in nan inf -inf 1e300 1.01e15 -1e16 1000000000000001 1.00000002e15; do
  start_case "score_refused ($score)"
  { ali 10:20 50:60 5; ali 60:70 90:95 "$score"; } > in
  run -f in; expect_refused 2
done

start_case score_minus_zero_and_the_largest
{ ali 10:20 50:60 -0; ali 60:70 90:95 1e15; } > in
run in; expect_status 0; expect_members '2'
grep -q '^##Score sum of these alignments: 1e+15$' out || fail "score sum: $(grep 'Score sum' out)"

start_case directory_input
mkdir -p adir
run -f adir; expect_status 8; expect_err '^Error: Unable to input file adir'

start_case unreadable_input
run -f /proc/self/mem; expect_status 8; expect_err '^Error: Unable to input file /proc/self/mem'

start_case report_cannot_be_created
run -f /proc/self/cmdline; expect_status 8; expect_err '^Error: Unable to write file /proc/self/cmdline.chainout'
if [ "$(id -u)" != 0 ]; then
  mkdir -p ro && ali 10:20 50:60 5 > ro/in && chmod 555 ro
  run -f ro/in; expect_status 8; expect_err '^Error: Unable to write file ro/in.chainout'
fi

start_case standard_output_closed
ali 10:20 50:60 5 > in
"$prog" in >&- 2> err; status=$?
expect_status 8; expect_err '^Error: Unable to write file standard output'

start_case full_disk
ali 10:20 50:60 5 > in
"$prog" in > /dev/full 2> err; status=$?
expect_status 8; expect_err '^Error: Unable to write file standard output'

start_case failed_runs_keep_an_existing_report
printf 'old report\n' > keep.chainout
run -f keep; expect_status 8
{ ali 10:20 50:60 5; ali 60:20 50:60 5; } > keep
run -f keep; expect_status 8
[ "$(cat keep.chainout)" = 'old report' ] || fail "the existing report was changed"

# Whichever pass wins, the report is a new file that takes the report's
# name: a link standing there is replaced, and what it pointed to is never
# written (let alone written and then dropped).
for winner in forward reverse; do
  for link in symbolic hard; do
    start_case "report_name_is_a_${link}_link ($winner wins)"
    if [ "$winner" = forward ]; then
      { ali 10:20 50:60 5; ali 60:70 90:95 3; } > in
    else
      { ali 10:70 50:95 5; ali 60:20 90:60 3; } > in
    fi
    printf 'kept\n' > target
    if [ "$link" = symbolic ]; then ln -s target in.chainout; else ln target in.chainout; fi
    run -f in; expect_status 0; expect_no_err; expect_members '1 2' in.chainout
    [ ! -L in.chainout ] || fail "the link is still there"
    [ "$(cat target)" = kept ] || fail "the link's target was written: $(head -c 100 target)"
    [ "$(grep -c '^##gff-version 2$' in.chainout)" = 1 ] || fail "not exactly one report"
    rm -f target
  done
done

start_case report_file_leaves_no_temporary_file
{ ali 10:70 50:95 5; ali 60:20 90:60 3; } > in
run -f in; expect_status 0
! compgen -G 'in.chainout?*' > /dev/null || fail "files left: $(ls in.chainout?*)"

start_case replaced_report_keeps_its_permissions
{ ali 10:20 50:60 5; ali 60:70 90:95 3; } > in
printf 'old report\n' > in.chainout
chmod 600 in.chainout
(umask 022; "$prog" -f in > out 2> err); status=$?
expect_status 0; expect_members '1 2' in.chainout
[ "$(stat -c %a in.chainout)" = 600 ] || fail "the report's mode became $(stat -c %a in.chainout)"

start_case control_bytes_in_the_file_name
name=$'new\nline\tand\\back\001slash'
ali 10:20 50:60 5 > "$name"
run -f "$name"; expect_status 0; expect_no_err
grep -q -x -F -- '##alichain -f new\nline\tand\\back\x01slash' "$name.chainout" ||
  fail "header command line: $(sed -n 5,6p "$name.chainout")"
[ "$(grep -c '^##' "$name.chainout")" = 10 ] || fail "the header is not ten lines"
rm -f "$name" "$name.chainout"

finish
