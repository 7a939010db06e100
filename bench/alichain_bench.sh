#!/usr/bin/env bash
# Times alichain -f against sort -t$'\t' -k4,4n on the same generated file
# of 10^6 alignment lines (alternating, several runs each), reports medians,
# their ratio and alichain's peak memory, then shows how alichain's time
# grows with N = 10^5, 10^6 and 4x10^6.
# usage: alichain_bench.sh BUILD_DIR   (RUNS=5 by default)
set -euo pipefail
build=$(cd "$1" && pwd)
program=$build/alichain/alichain
here=$(cd "$(dirname "$0")" && pwd)
runs=${RUNS:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

generate() { python3 "$here/alichain_gen.py" "$1" > "$work/n$1.gff"; }
source "$here/lib.sh"

n=1000000
generate $n
file=$work/n$n.gff
: > "$work/ali.times"
: > "$work/sort.times"
for _ in $(seq "$runs"); do
  elapsed "$program" -f "$file" >> "$work/ali.times"
  elapsed sort -t$'\t' -k4,4n "$file" >> "$work/sort.times"
done
ali=$(median < "$work/ali.times")
srt=$(median < "$work/sort.times")
size=$(stat -c %s "$file")
peak=$(peak_kb "$program" -f "$file")
limit_kb=$(( (size + 200 * n) / 1024 ))
echo "N=$n, file $size bytes, $runs runs each"
echo "alichain -f median: $ali s"
echo "sort -k4,4n median: $srt s"
echo "ratio alichain/sort: $(awk -v a="$ali" -v s="$srt" 'BEGIN { printf "%.2f", a / s }')"
echo "alichain peak memory: $peak KB (limit: file + 200 B/alignment = $limit_kb KB)"

echo "growth (median of 3 runs; time / (N log2 N) relative to N=10^5):"
base=""
for n in 100000 1000000 4000000; do
  [ -f "$work/n$n.gff" ] || generate $n
  : > "$work/g.times"
  for _ in 1 2 3; do elapsed "$program" -f "$work/n$n.gff" >> "$work/g.times"; done
  t=$(median < "$work/g.times")
  per=$(awk -v t="$t" -v n="$n" 'BEGIN { printf "%.6e", t / (n * log(n) / log(2)) }')
  [ -n "$base" ] || base=$per
  printf '  N=%-8s %7.3f s  normalised %s\n' "$n" "$t" "$(awk -v p="$per" -v b="$base" 'BEGIN { printf "%.2f", p / b }')"
done

# Memory bound at the largest size: the whole run within the input file's
# size plus 200 bytes per alignment.
n=4000000
size=$(stat -c %s "$work/n$n.gff")
peak=$(peak_kb "$program" -f "$work/n$n.gff")
limit_kb=$(( (size + 200 * n) / 1024 ))
verdict=$([ "$peak" -le "$limit_kb" ] && echo within || echo OVER)
echo "N=$n: peak memory $peak KB, $verdict the bound of $limit_kb KB (file $size bytes + 200 B/alignment)"
