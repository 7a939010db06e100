#!/usr/bin/env bash
# Runs the built alichain under a range of address-space limits (ulimit -v):
# every run that gets past the program loader ends with status 0 and the
# full report, or with status 8 and "Error: Out of memory" alone, an
# existing report left as it was. Nothing may abort.
# Usage: memory_limits.sh <alichain binary>
set -uo pipefail
prog=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
source "$(dirname "$0")/../../tests/bad_input_lib.sh"

# A sanitizer runtime reserves terabytes of address space at start, so no
# limit can apply; the plain build runs this test.
if ldd "$prog" 2>/dev/null | grep -q -E 'lib(a|t|ub)san'; then
  echo "not applicable to a sanitizer build: its runtime reserves the address space up front"
  exit 0
fi

ali() { printf 'x\tsrc\talignment\t%s\t%s\t%s\t+\n' "$1" "$2" "$3"; }
mask() { sed -E 's|^##date .*$|##date|' "$@"; }
limited() {  # KIB ARGS...: one run under the limit; $status, "out", "err"
  (ulimit -v "$1" && shift && exec "$prog" "$@") > out 2> err
  status=$?
}

# The smallest limit (in steps of 50 KiB) at which the loader and the C
# runtime let the program start: below it none of the program's own code
# runs. A run without arguments then gives its usage or runs out of memory.
floor_of() {
  local kib=2000
  while limited "$kib"; [ "$status" != 8 ] || ! grep -q -E '^(Usage:|Error: Out of memory$)' err; do
    kib=$((kib + 50))
    [ "$kib" -lt 100000 ] || { echo "FAIL: the program never started"; exit 1; }
  done
  echo "$kib"
}

# scan NAME FIRST LAST STEP ARGS...: every limit from FIRST to LAST.
scan() {
  local name=$1 first=$2 last=$3 step=$4 kib outcomes=
  shift 4
  start "$name"
  "$prog" "$@" > expected.out 2> /dev/null
  [ ! -e in.chainout ] || mask in.chainout > expected.report
  for ((kib = first; kib <= last; kib += step)); do
    printf 'old report\n' > in.chainout
    limited "$kib" "$@"
    if [ "$status" = 0 ]; then
      mask out | cmp -s - <(mask expected.out) || fail "limit $kib KiB: standard output differs"
      if [ "$1" = -f ]; then
        mask in.chainout | cmp -s - expected.report || fail "limit $kib KiB: report differs"
      fi
      outcomes+=0
    elif [ "$status" = 8 ]; then
      [ "$(cat err)" = "Error: Out of memory" ] || fail "limit $kib KiB: $(head -c 200 err)"
      [ "$(cat in.chainout)" = "old report" ] || fail "limit $kib KiB: the existing report was changed"
      outcomes+=8
    else
      fail "limit $kib KiB: status $status: $(head -c 200 err)"
    fi
  done
  rm -f in.chainout
  echo "$name: limits $first..$last KiB by $step: $(grep -o 0 <<< "$outcomes" | wc -l) complete, $(grep -o 8 <<< "$outcomes" | wc -l) out of memory"
}

floor=$(floor_of)
echo "the program starts from $floor KiB"

{ ali 10:70 50:95 5; ali 60:20 90:60 3; } > in
scan two_lines_report_file "$floor" 20000 50 -f in
scan two_lines_standard_output "$floor" 20000 500 in

# Enough lines that the tables, the anchors and the trees need memory of
# their own, with a reverse chain that wins.
awk 'BEGIN { srand(5); for (i = 0; i < 20000; i++) {
  x = i * 10; y = (i % 3) ? int(rand() * 1000000) : 1000000 - i * 10
  printf "s\tt\talignment\t%d:%d\t%d:%d\t%.1f\t+\n", x, y, x + 5, y + 5, rand() * 50 } }' > in
scan twenty_thousand_lines "$floor" 40000 500 -f in

finish
