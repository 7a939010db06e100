#!/usr/bin/env bash
# Times aliplot on 10^6 generated alignment lines with their chain report,
# as SVG and as HTML (median wall-clock and CPU seconds of RUNS runs each),
# and prints each output's size and the peak memory.
# usage: aliplot_bench.sh BUILD_DIR   (RUNS=5 by default)
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
runs=${RUNS:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$here/lib.sh"

n=1000000
python3 "$here/alichain_gen.py" "$n" > "$work/in.gff"
"$build/alichain/alichain" "$work/in.gff" > "$work/in.chain"
members=$(awk -F'\t' '/^##Number of used alignments:/ { printf "%s%s", sep, $2; sep = " + " }' "$work/in.chain")
echo "N=$n alignments, chain members: $members"
for format in svg html; do
  : > "$work/wall"
  : > "$work/cpu"
  for _ in $(seq "$runs"); do
    /usr/bin/time -f '%e %U %S' -o "$work/t" "$build/aliplot/aliplot" "$work/in.gff" "$work/in.chain" \
      -o "$work/out.$format"
    read -r wall user sys < "$work/t"
    echo "$wall" >> "$work/wall"
    awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }' >> "$work/cpu"
  done
  size=$(stat -c %s "$work/out.$format")
  peak=$(peak_kb "$build/aliplot/aliplot" "$work/in.gff" "$work/in.chain" -o "$work/out.$format")
  printf '%-4s median %s s wall, %s s CPU; output %s bytes (%.1f MB); peak memory %s KB\n' \
    "$format" "$(median < "$work/wall")" "$(median < "$work/cpu")" "$size" \
    "$(awk -v b="$size" 'BEGIN { print b / 1e6 }')" "$peak"
done
