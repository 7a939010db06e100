#!/usr/bin/env bash
# Paired comparison of two builds of the suffix-tree builder: builds the
# E. coli tree with build A, then with build B, PAIRS times (default 9),
# alternating so that both see the same machine load. Prints each pair's
# build seconds and peak resident KB, then the medians and the median of
# the pairs' time ratios B/A.
# Usage: stree_pair.sh BUILD_A BUILD_B [PAIRS]
set -euo pipefail
driver_a=$(cd "$1" && pwd)/lumo/stree_bench
driver_b=$(cd "$2" && pwd)/lumo/stree_bench
pairs=${3:-9}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
genome_gz="$(shared_data)/ecoli_MG1655.fa.gz"
for driver in "$driver_a" "$driver_b"; do
  [ -x "$driver" ] || { echo "stree_pair.sh: $driver not built" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
zcat "$genome_gz" > "$work/genome.fa"

# One build of the whole genome in the default layout: "seconds peak_kb".
one_build() {
  /usr/bin/time -f '%M' -o "$work/kb" "$1" "$work/genome.fa" 0 0 0 > "$work/out"
  echo "$(awk '{for (k = 1; k < NF; k++) if ($k == "build_s") print $(k + 1)}' "$work/out") $(cat "$work/kb")"
}

echo "pair  A_s     A_KB      B_s     B_KB"
: > "$work/a"; : > "$work/b"
for p in $(seq "$pairs"); do
  read -r a_s a_kb < <(one_build "$driver_a")
  read -r b_s b_kb < <(one_build "$driver_b")
  echo "$a_s $a_kb" >> "$work/a"
  echo "$b_s $b_kb" >> "$work/b"
  printf '%4d  %-6s  %-8s  %-6s  %-8s\n' "$p" "$a_s" "$a_kb" "$b_s" "$b_kb"
done
a_med=$(cut -d' ' -f1 "$work/a" | median)
b_med=$(cut -d' ' -f1 "$work/b" | median)
echo "median A $a_med s, $(cut -d' ' -f2 "$work/a" | median) KB;" \
  "median B $b_med s, $(cut -d' ' -f2 "$work/b" | median) KB;" \
  "median of pair ratios B/A $(paste -d' ' "$work/a" "$work/b" | awk '{ print $3 / $1 }' | median)"
