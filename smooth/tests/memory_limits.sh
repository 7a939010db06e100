#!/usr/bin/env bash
# Runs the built smooth under address-space limits (ulimit -v) rising in
# small steps until a run succeeds. Every run must end either with status 0
# and the whole output, or with status 1, the out-of-memory message and an
# existing output file left as it was; never with an abort or a signal.
# Below the lowest limit at which the program starts, the dynamic loader
# fails to map the shared libraries or to set them up, thread-local storage
# included (status 127 and a message of its own) before any code of the
# program runs; such runs are counted, not judged.
# Not run in the sanitizer build: AddressSanitizer reserves terabytes of
# address space at start, so no limit leaves it room to run.
# Usage: memory_limits.sh <smooth binary>
set -uo pipefail
prog=$1
source "$(dirname "$0")/../../tests/bad_input_lib.sh"

# 30,000 candidates (a list of 600 KB, sorted and counted) and one line of
# 1.5 MB, which makes the line buffer grow: each allocation of the run
# fails at some limit of the scan.
{ echo 'strand position length pvalue word'
  awk 'BEGIN { for (i = 0; i < 30000; i++) printf "1 %d 8 0.001 ACGTACGT\n", i * 7 }'
  printf '1 5 8 0.5 '; head -c 1500000 /dev/zero | tr '\0' 'A'; echo; } > in
awk 'NR > 1 && NR <= 30001 { printf "%d\t%d\t8\n", $2, $2 + 8 }' in > expected

start memory_limits
limit=4096 step=48 ceiling=$((512 * 1024))
loader=0 oom=0 lowest_oom=
while [ "$limit" -le "$ceiling" ]; do
  printf 'keep me\n' > out
  (ulimit -v "$limit" && exec "$prog" in 7 out 1 > stdout 2> err)
  status=$?
  leftovers=$(ls | grep -vx -e in -e expected -e out -e stdout -e err)
  [ -z "$leftovers" ] || fail "at $limit KiB: files left behind: $leftovers"
  if [ "$status" = 127 ] && grep -qx -e '.*error while loading shared libraries.*' -e 'out of memory' \
      -e '.*cannot allocate TLS data structures for initial thread.*' err; then
    [ -z "$lowest_oom" ] || fail "at $limit KiB: the loader failed above $lowest_oom KiB"
    loader=$((loader + 1))
  elif [ "$status" = 1 ]; then
    printf 'smooth: out of memory\n' | cmp -s - err || fail "at $limit KiB: $(head -c 300 err)"
    [ "$(cat out)" = 'keep me' ] || fail "at $limit KiB: the existing output was changed"
    oom=$((oom + 1)) lowest_oom=${lowest_oom:-$limit}
  elif [ "$status" = 0 ]; then
    cmp -s expected out || fail "at $limit KiB: incomplete output"
    [ -s err ] && fail "at $limit KiB: unexpected messages: $(head -c 300 err)"
    break
  else
    fail "at $limit KiB: exit status $status: $(head -c 300 err)"
  fi
  limit=$((limit + step))
done
[ "$limit" -le "$ceiling" ] || fail "no run succeeded below $ceiling KiB"
[ "$oom" -gt 0 ] || fail "no limit made memory run out"
echo "memory limits (plain build only; AddressSanitizer reserves terabytes):" \
  "loader failed below $lowest_oom KiB ($loader runs), $oom runs out of memory," \
  "first success at $limit KiB"
finish
