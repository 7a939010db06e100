#!/usr/bin/env bash
# aliconv benchmark.
# 1. Converting 10^6 PAF lines against sort -k6,6 -k8,8n on the same file
#    (alternating runs, medians, their ratio; the aim is at most 0.5) and
#    aliconv's peak memory.
# 2. aliconv + alichain + aliconv --pick against delta-filter -g (Debian's
#    mummer, installed when missing) on delta files of 10^4 and 10^5
#    alignments: both times and how the chosen sets differ.
# usage: aliconv_bench.sh BUILD_DIR   (RUNS=5 by default; PEER_RUNS=1 for
# delta-filter, which needs minutes at 10^5)
set -euo pipefail
build=$(cd "$1" && pwd)
aliconv=$build/aliconv/aliconv
alichain=$build/alichain/alichain
here=$(cd "$(dirname "$0")" && pwd)
runs=${RUNS:-5}
peer_runs=${PEER_RUNS:-1}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$here/lib.sh"

n=1000000
python3 "$here/aliconv_gen.py" paf $n > "$work/in.paf"
: > "$work/conv.times"
: > "$work/sort.times"
for _ in $(seq "$runs"); do
  elapsed "$aliconv" "$work/in.paf" -o "$work/out.gff" >> "$work/conv.times"
  elapsed sort -k6,6 -k8,8n "$work/in.paf" >> "$work/sort.times"
done
conv=$(median < "$work/conv.times")
srt=$(median < "$work/sort.times")
echo "PAF: $n lines, $(stat -c %s "$work/in.paf") bytes, $runs runs each"
echo "aliconv median: $conv s"
echo "sort -k6,6 -k8,8n median: $srt s"
echo "ratio aliconv/sort: $(awk -v a="$conv" -v s="$srt" 'BEGIN { printf "%.2f", a / s }') (aim: <= 0.50)"
echo "aliconv peak memory: $(peak_kb "$aliconv" "$work/in.paf" -o "$work/out.gff") KB"
rm -f "$work/in.paf" "$work/out.gff"

if ! command -v delta-filter > /dev/null; then
  apt-get update -qq && apt-get install -y -qq mummer > /dev/null
fi

# The chosen alignments as "xb:yb xe:ye strand" lines with their matches
# score, from a delta file.
chosen() { "$aliconv" --score matches "$1" | awk -F'\t' '$3 == "alignment" { print $4, $5, $7, $6 }' | sort; }

ours() { # delta -> picked delta
  "$aliconv" "$1" -o "$work/d.gff" && "$alichain" -f "$work/d.gff" > /dev/null &&
    "$aliconv" --pick "$work/d.gff.chainout" -o "$2" "$1"
}

for n in 10000 100000; do
  python3 "$here/aliconv_gen.py" delta $n > "$work/in.delta"
  : > "$work/ours.times"
  : > "$work/peer.times"
  for _ in $(seq "$runs"); do elapsed ours "$work/in.delta" "$work/ours.delta" >> "$work/ours.times"; done
  for _ in $(seq "$peer_runs"); do
    elapsed sh -c 'delta-filter -g "$1" > "$2"' filter "$work/in.delta" "$work/peer.delta" >> "$work/peer.times"
  done
  chosen "$work/ours.delta" > "$work/ours.set"
  chosen "$work/peer.delta" > "$work/peer.set"
  both=$(comm -12 "$work/ours.set" "$work/peer.set" | wc -l)
  sum() { awk '{ s += $4 } END { printf "%.1f", s }' "$1"; }
  echo "delta, $n alignments:"
  echo "  aliconv + alichain + aliconv --pick median: $(median < "$work/ours.times") s ($runs runs)"
  echo "  delta-filter -g median: $(median < "$work/peer.times") s ($peer_runs runs)"
  echo "  chosen: ours $(wc -l < "$work/ours.set") (matches sum $(sum "$work/ours.set")), delta-filter" \
       "$(wc -l < "$work/peer.set") (matches sum $(sum "$work/peer.set")), both $both"
  # delta-filter lets chained alignments overlap; alichain does not.
  awk '{ split($1, b, ":"); split($2, e, ":"); print b[1], e[1] }' "$work/peer.set" | sort -n |
    awk 'NR > 1 && $1 <= end { overlaps++ } { if ($2 > end) end = $2 } END {
      printf "  delta-filter set: %d alignments overlap an earlier one in the reference\n", overlaps }'
done
