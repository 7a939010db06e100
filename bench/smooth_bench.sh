#!/usr/bin/env bash
# Times smooth against "sort -k2,2n" of the same generated hit table, the two
# alternating within one run, and prints the medians and their ratio for
# N = 10^5, 10^6 and 10^7 records. Usage: smooth_bench.sh <build dir>
# RUNS overrides the number of timed runs of each program per size.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
smooth="$build/smooth/smooth"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

g++ -O2 -std=c++17 -o "$work/smooth_gen" "$here/smooth_gen.cpp"

source "$here/lib.sh"

printf '%-9s %5s %12s %12s %7s %9s\n' records runs "smooth (s)" "sort (s)" ratio written
for n in 100000 1000000 10000000; do
  runs=${RUNS:-$([ "$n" -ge 10000000 ] && echo 3 || echo 7)}
  "$work/smooth_gen" "$n" > "$work/hits.txt"
  : > "$work/smooth.times"
  : > "$work/sort.times"
  for ((r = 0; r < runs; r++)); do
    elapsed "$smooth" "$work/hits.txt" 50 "$work/hits.smooth" 2 >> "$work/smooth.times"
    elapsed env LC_ALL=C sort -k2,2n "$work/hits.txt" -o "$work/hits.sorted" >> "$work/sort.times"
  done
  ts=$(median < "$work/smooth.times")
  tq=$(median < "$work/sort.times")
  kept=$(wc -l < "$work/hits.smooth")
  printf '%-9s %5s %12s %12s %7.2f %9s\n' "$n" "$runs" "$ts" "$tq" \
    "$(awk -v a="$ts" -v b="$tq" 'BEGIN { print (b > 0) ? a / b : 0 }')" "$kept"
  if [ "$n" = 10000000 ]; then
    peak=$(peak_kb "$smooth" "$work/hits.txt" 50 "$work/hits.smooth" 2)
    echo "N=$n: smooth peak memory $peak KB ($(( peak * 1024 / n )) B/record)"
  fi
  rm -f "$work/hits.txt" "$work/hits.smooth" "$work/hits.sorted"
done
