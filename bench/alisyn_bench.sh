#!/usr/bin/env bash
# alisyn benchmark.
# 1. The whole run (read, chain, filter, classify, write every output) on
#    10^6 PAF lines of one sequence pair, and on the same number of lines
#    over 10^4 contig pairs, on one and two threads against sort -k6,6
#    -k8,8n on the same file (which sorts on all cores): PAIRS rounds in
#    turning order, medians, the median ratios; peak memory against the
#    input's size plus 200 bytes per alignment.
# 2. Against delta-filter -1 and -g (Debian's mummer) on generated delta
#    files of 10^4, 3x10^4 and 10^5 alignments: times and how the kept sets
#    differ. delta-filter is quadratic (minutes at 10^5): it runs
#    PEER_RUNS times (1 by default) and once only at 10^5.
# 3. E. coli MG1655 vs 536 (nucmer, default options): reference and query
#    bases kept by alisyn's filters against delta-filter -1 and -g, and the
#    bases the kept alignments cover twice.
# usage: alisyn_bench.sh BUILD_DIR   (PAIRS=9 rounds, PEER_RUNS=1; SECTIONS="1 2 3" runs
# the sections named)
set -euo pipefail
build=$(cd "$1" && pwd)
alisyn=$build/alisyn/alisyn
here=$(cd "$(dirname "$0")" && pwd)
pairs=${PAIRS:-9}
peer_runs=${PEER_RUNS:-1}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$here/lib.sh"

# with_sort FILE: PAIRS rounds of alisyn -t 1, alisyn -t 2 and sort on
# FILE, the order turning every round; medians, the medians of the
# per-round ratios, and peak memory.
with_sort() {
  local file=$1 i k
  local -a names=(one two sort) commands=(
    "$alisyn -t 1 -o $work/out $file"
    "$alisyn -t 2 -o $work/out $file"
    "sort -k6,6 -k8,8n $file")
  for k in "${names[@]}"; do : > "$work/$k.times"; done
  for i in $(seq "$pairs"); do
    for k in 0 1 2; do
      k=$(((k + i) % 3))
      # shellcheck disable=SC2086
      elapsed ${commands[$k]} 2> /dev/null >> "$work/${names[$k]}.times"
    done
  done
  ratio() { paste "$work/$1.times" "$work/$2.times" | awk '{ printf "%.4f\n", $1 / $2 }' | median; }
  local bytes lines
  bytes=$(stat -c %s "$file")
  lines=$(wc -l < "$file")
  echo "  medians: alisyn -t 1 $(median < "$work/one.times") s, -t 2 $(median < "$work/two.times") s," \
       "sort -k6,6 -k8,8n $(median < "$work/sort.times") s (sort uses both cores); median ratios:" \
       "-t 2/sort $(ratio two sort), -t 1/sort $(ratio one sort), -t 1/-t 2 $(ratio one two) ($pairs rounds; aim <= 1)"
  echo "  peak memory -t 1 $(peak_kb "$alisyn" -t 1 -o "$work/out" "$file") KB, -t 2" \
       "$(peak_kb "$alisyn" -t 2 -o "$work/out" "$file") KB; budget (input + 200 B per alignment)" \
       "$(( (bytes + 200 * lines) / 1024 )) KB; load $(cut -d' ' -f1-3 /proc/loadavg)"
}

sections=" ${SECTIONS:-1 2 3} "
section_wanted() { [[ "$sections" == *" $1 "* ]]; }

if section_wanted 1; then
echo "PAF, 10^6 lines of one pair:"
python3 "$here/alisyn_gen.py" paf 1000000 1 > "$work/in.paf"
with_sort "$work/in.paf"
echo "PAF, 10^6 lines over 10^4 contig pairs:"
python3 "$here/alisyn_gen.py" paf 1000000 10000 > "$work/in.paf"
with_sort "$work/in.paf"
rm -f "$work/in.paf" "$work"/out.*
fi

if ! command -v delta-filter > /dev/null; then
  apt-get update -qq && apt-get install -y -qq mummer > /dev/null
fi

# The alignments of a delta file as "xb xe yb ye" lines, sorted.
alignment_set() { awk 'NF == 7 && $1 !~ /^>/ { print $1, $2, $3, $4 }' "$1" | sort; }
# Reference bases covered (once) and the bases covered twice or more, of a delta file.
bases() {
  awk 'NF == 7 && $1 !~ /^>/ { print ($1 < $2 ? $1 : $2), ($1 < $2 ? $2 : $1) }' "$1" | sort -n -k1,1 |
    awk '{ sum += $2 - $1 + 1; if ($2 > reach) { union += $2 - ($1 > reach ? $1 : reach + 1) + 1; reach = $2 } }
         END { printf "%d reference bases, %d covered twice", union, sum - union }'
}

section_wanted 2 && for n in 10000 30000 100000; do
  python3 "$here/alisyn_gen.py" delta $n > "$work/in.delta"
  runs=$pairs
  peer=$peer_runs
  [ $n = 100000 ] && peer=1
  : > "$work/ours.times"
  for _ in $(seq "$runs"); do elapsed "$alisyn" -o "$work/ours" "$work/in.delta" 2> /dev/null >> "$work/ours.times"; done
  echo "delta, $n alignments: alisyn median $(median < "$work/ours.times") s ($runs runs);" \
       "kept $(alignment_set "$work/ours.kept.delta" | wc -l), $(bases "$work/ours.kept.delta")"
  for mode in 1 g; do
    : > "$work/peer.times"
    for _ in $(seq "$peer"); do
      elapsed sh -c 'delta-filter -'"$mode"' "$1" > "$2"' filter "$work/in.delta" "$work/peer.delta" >> "$work/peer.times"
    done
    both=$(comm -12 <(alignment_set "$work/ours.kept.delta") <(alignment_set "$work/peer.delta") | wc -l)
    echo "  delta-filter -$mode median $(median < "$work/peer.times") s ($peer runs);" \
         "kept $(alignment_set "$work/peer.delta" | wc -l), $(bases "$work/peer.delta"); kept by both $both;" \
         "speed-up $(awk -v p="$(median < "$work/peer.times")" -v o="$(median < "$work/ours.times")" 'BEGIN { printf "%.0f", p / o }')x"
  done
done

section_wanted 3 || exit 0
ecoli=$(shared_data)/aligners/ecoli_MG1655_vs_536.nucmer.default.delta.gz
echo "E. coli MG1655 vs 536, nucmer (default options), $(zcat "$ecoli" | awk 'NF == 7 && $1 !~ /^>/' | wc -l) alignments:"
zcat "$ecoli" > "$work/ecoli.delta"
for filter in one-to-one reference query none; do
  "$alisyn" --filter $filter -o "$work/e" "$work/ecoli.delta" 2> "$work/summary"
  echo "  alisyn --filter $filter: kept $(alignment_set "$work/e.kept.delta" | wc -l), $(bases "$work/e.kept.delta");" \
       "$(grep -o 'query bases covered: [0-9]*' "$work/summary")"
done
for mode in 1 g; do
  delta-filter -$mode "$work/ecoli.delta" > "$work/peer.delta"
  "$alisyn" --filter none -o "$work/p" "$work/peer.delta" 2> "$work/summary"
  echo "  delta-filter -$mode: kept $(alignment_set "$work/peer.delta" | wc -l), $(bases "$work/peer.delta");" \
       "$(grep -o 'query bases covered: [0-9]*' "$work/summary")"
done
