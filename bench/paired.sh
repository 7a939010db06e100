#!/usr/bin/env bash
# Paired timing of two builds of a program on the same input: runs A and B
# alternately PAIRS times (the order flips every pair, so that drift and the
# load of a shared machine hit both), then prints each side's median, the
# median of the per-pair ratios B/A and the peak memory of each.
# usage: paired.sh PROGRAM_A PROGRAM_B PAIRS ARGS...
#   e.g. paired.sh old/alichain new/alichain 9 -f n1000000.gff
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
a=$1 b=$2 pairs=$3
shift 3
times=$(mktemp -d)
trap 'rm -rf "$times"' EXIT
for i in $(seq "$pairs"); do
  if [ $((i % 2)) = 1 ]; then
    ta=$(elapsed "$a" "$@"); tb=$(elapsed "$b" "$@")
  else
    tb=$(elapsed "$b" "$@"); ta=$(elapsed "$a" "$@")
  fi
  echo "$ta" >> "$times/a"; echo "$tb" >> "$times/b"
  awk -v x="$ta" -v y="$tb" 'BEGIN { printf "%.4f\n", y / x }' >> "$times/ratio"
done
echo "A: $a  median $(median < "$times/a") s  peak $(peak_kb "$a" "$@") KB"
echo "B: $b  median $(median < "$times/b") s  peak $(peak_kb "$b" "$@") KB"
echo "pairs $pairs, median ratio B/A $(median < "$times/ratio")"
