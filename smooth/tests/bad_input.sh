#!/usr/bin/env bash
# Hostile and oversized inputs for the built smooth, made at run time:
# each case checks the exit status, the messages and the output file.
# Usage: bad_input.sh <smooth binary>
set -uo pipefail
prog=$1
source "$(dirname "$0")/../../tests/bad_input_lib.sh"
header='strand position length pvalue word'

# run WINDOW THRESHOLD [INPUT] [OUTPUT]: runs on "in" (or INPUT) into "out"
# (or OUTPUT); leaves the status in $status and the messages in "err".
run() {
  "$prog" "${3:-in}" "$1" "${4:-out}" "$2" > stdout 2> err
  status=$?
}
expect_out() { printf "$1" | cmp -s - out 2>/dev/null || fail "output differs: $(head -c 200 out 2>&1)"; }
expect_no_err() { [ ! -s err ] || fail "unexpected messages: $(head -c 300 err)"; }

start binary_garbage
awk 'BEGIN { srand(7); for (i = 0; i < 200000; i++) printf "%c", 1 + int(rand() * 255) }' > in
printf '\0\0\0\n' >> in
run 100 1; expect_status 0

start nul_inside_lines
{ echo "$header"; printf '1 1200 8 0.001 AC\0GT\n1 1201 8 0.0\0019 ACGTACGT\n'; } > in
run 10 1; expect_status 0; expect_no_err
expect_out '1200\t1208\t8\n1201\t1209\t8\n'

start ten_megabyte_lines
{ head -c 10000000 /dev/zero | tr '\0' 'h'; echo;
  printf '1 1200 8 0.001 '; head -c 10000000 /dev/zero | tr '\0' 'A'; echo;
  echo '1 1205 8 0.001 ACGTACGT'; } > in
run 10 1; expect_status 0; expect_no_err
expect_out '1200\t1208\t8\n1205\t1213\t8\n'

start million_blank_lines
{ echo "$header"; yes '' | head -n 1000000; echo '1 7 8 0.001 ACGTACGT';
  yes ' 	' | head -n 1000; echo '1 9 8 0.001 ACGTACGT'; } > in
run 10 1; expect_status 0; expect_no_err
expect_out '7\t15\t8\n9\t17\t8\n'

start crlf_and_mixed_line_endings
printf '%s\r\n1 100 8 nan\r\n1 104 8 0.001 ACGTACGT\n1 108 8 0.001 ACGTACGT\r\n1 300 8 0.5\n' "$header" > in
run 10 1; expect_status 0; expect_no_err
expect_out '100\t108\t8\n104\t112\t8\n108\t116\t8\n'

start non_numeric_in_every_column
{ echo "$header"
  echo 'one 100 8 0.001 ACGTACGT'
  echo '1 one 8 0.001 ACGTACGT'
  echo '1 100 eight 0.001 ACGTACGT'
  echo '1 101 8 tiny ACGTACGT'
  echo '1 102 8 0.001 12345678'
  echo '1 103 8 0.001'; } > in
run 10 1; expect_status 0
expect_err 'in: line 2: direction code'; expect_err 'in: line 3: position'; expect_err 'in: line 4: length'
[ "$(wc -l < err)" = 3 ] || fail "expected 3 warnings: $(cat err)"
# "tiny" has no numeric beginning and so counts as p-value 0.
expect_out '101\t109\t8\n102\t110\t8\n103\t111\t8\n'

start pvalue_exponents_and_long_tokens
long_p=0.00100000000000000000000000000000000000000000000000
long_w=ACGTACGTACGTACGTACGTACGTACGTACGTACGTACGTACGTACGTAC
{ echo "$header"
  echo "1 100 8 1e-5 $long_w"
  echo "1 101 8 9.99E-3 ACGTACGT"
  echo "1 102 8 1.01e-2 ACGTACGT"
  echo "1 103 8 $long_p $long_w extra fields"
  echo "1 104 8 1e-400 ACGTACGT"
  echo "1 105 8 1e+400 ACGTACGT"; } > in
run 10 1; expect_status 0; expect_no_err
expect_out '100\t108\t8\n101\t109\t8\n103\t111\t8\n104\t112\t8\n'

start positions_near_32_bit_limits
{ echo "$header"
  echo '1 2147483647 22 0.001 ACGTACGTACGTACGTACGTAC'
  echo '1 2147483640 8 0.001 ACGTACGT'
  echo '1 -2147483648 8 0.001 ACGTACGT'
  echo '1 2147483648 8 0.001 ACGTACGT'; } > in
# The two ends of the range are far apart, however a 32-bit difference wraps.
run 10 1; expect_status 0
expect_err 'in: line 5: position'
expect_out '2147483647\t2147483669\t22\n2147483640\t2147483648\t8\n'

start unreadable_input_keeps_output
printf 'keep me\n' > out
run 10 1 /proc/self/mem; expect_status 1; expect_err 'read error'
[ "$(cat out)" = 'keep me' ] || fail "existing output was changed"

start directory_input_keeps_output
mkdir -p adir; printf 'keep me\n' > out
run 10 1 adir; expect_status 1; expect_err 'adir: cannot read'
[ "$(cat out)" = 'keep me' ] || fail "existing output was changed"

start output_in_read_only_directory
printf '%s\n1 1 8 0.001 ACGTACGT\n' "$header" > in
mkdir -p ro && chmod 555 ro
if [ "$(id -u)" != 0 ]; then
  run 10 0 in ro/out; expect_status 1; expect_err 'ro/out: cannot create'
fi
run 10 0 in in/out; expect_status 1; expect_err 'in/out: cannot create'

start full_disk
run 10 0 in /dev/full; expect_status 1; expect_err '/dev/full: write error'

# 20,000 candidates, about 300 KB of output: more than a pipe holds, so a
# reader that goes away makes the writes fail.
{ echo "$header"; awk 'BEGIN { for (i = 0; i < 20000; i++) printf "1 %d 8 0.001 ACGTACGT\n", i }'; } > big

start closed_pipe_on_standard_output
"$prog" big 10 /dev/stdout 1 2> err | head -c 1 > /dev/null
status=${PIPESTATUS[0]}
expect_status 1; expect_err '/dev/stdout: write error: Broken pipe'

start fifo_closed_by_its_reader
mkfifo fifo
head -c 1 fifo > /dev/null &
run 10 1 big fifo; wait
expect_status 1; expect_err 'fifo: write error: Broken pipe'
rm -f fifo

start file_size_limit_keeps_output
printf 'keep me\n' > out
(ulimit -f 100 && exec "$prog" big 10 out 1 > stdout 2> err); status=$?
expect_status 1; expect_err 'out: write error: File too large'
[ "$(cat out)" = 'keep me' ] || fail "existing output was changed"
[ -z "$(ls | grep '^out.')" ] || fail "temporary file left: $(ls)"

start replaced_output_keeps_its_mode
printf '%s\n1 1 8 0.001 ACGTACGT\n' "$header" > in
printf 'old\n' > out; chmod 640 out
run 10 0; expect_status 0; expect_out '1\t9\t8\n'
[ "$(stat -c %a out)" = 640 ] || fail "mode $(stat -c %a out), expected 640"
rm -f out
(umask 027 && exec "$prog" in 10 out 0); status=$?
expect_status 0; [ "$(stat -c %a out)" = 640 ] || fail "new file mode $(stat -c %a out), expected 640"

start links_are_written_through
printf 'old\n' > target; ln -sf target out
run 10 0; expect_status 0
[ -L out ] || fail "the symbolic link was replaced"
printf '1\t9\t8\n' | cmp -s - target || fail "the link's target was not written"
rm -f out; printf 'old\n' > out; ln -f out hardlink
run 10 0; expect_status 0
printf '1\t9\t8\n' | cmp -s - hardlink || fail "the other name of a hard link was not written"
rm -f out hardlink target

start standard_output_redirected_to_a_file
"$prog" in 10 /dev/stdout 0 > redirected 2> err; status=$?
expect_status 0; expect_no_err
printf '1\t9\t8\n' | cmp -s - redirected || fail "output differs: $(cat redirected)"

start usage_on_closed_standard_output
"$prog" >&- 2> err; status=$?
expect_status 1; expect_err 'standard output'

finish
