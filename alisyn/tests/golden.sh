#!/usr/bin/env bash
# Whole outputs against the files in data/: for each case NAME (an input of
# the shared aligner output and options), the blocks table, the query
# assignments, the chain file and the summary must equal data/NAME.*; the
# kept file, read again with the same options, must be kept whole
# (it holds nothing that the filter would take out); the per-pair table
# must add up to the blocks table and the summary.
# Usage: golden.sh <alisyn> <folder of aligner output> [--update]
set -uo pipefail
prog=$1
aligners=$2
golden=$(cd "$(dirname "$0")" && pwd)/data
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

# pairs_add_up PREFIX: per class and in all, the pairs' blocks and kept
# alignments are those of the blocks table, their alignments those read; with
# one pair, its covered bases are the summary's.
pairs_add_up() {
  local from_pairs from_blocks
  from_pairs=$(awk -F'\t' '!/^#/ { read += $5; kept += $6; s += $8; i += $9; t += $10; d += $11; n++
      r = $12; q = $13 } END { print read, kept, s, i, t, d; if (n == 1) print r, q }' "$1.pairs.tsv")
  from_blocks=$(awk -F'\t' '!/^#/ { kept += $10; count[$9]++ }
      END { print kept + 0, count["syntenic"] + 0, count["inverted"] + 0, count["translocated"] + 0, count["duplicated"] + 0 }' \
      "$1.blocks.tsv")
  from_blocks="$(sed -n 's/.*, \([0-9]*\) alignments read, .*/\1/p' "$1.summary") $from_blocks"
  [ "$(awk -F'\t' '!/^#/ { n++ } END { print n + 0 }' "$1.pairs.tsv")" = 1 ] &&
    from_blocks="$from_blocks
$(sed -n 's/.* bases covered: \([0-9]*\).*/\1/p' "$1.summary" | paste -sd' ')"
  [ "$from_pairs" = "$from_blocks" ] || fail "$(basename "$1").pairs.tsv: $from_pairs, expected $from_blocks"
}

# case NAME INPUT KEPT-EXTENSION [OPTIONS...]
case_() {
  local name=$1 input=$2 ext=$3
  shift 3
  (cd "$aligners" && "$prog" "$@" -o "$work/$name" "$input" 2> "$work/$name.summary") || fail "$name: status $?"
  for part in blocks.tsv assign.tsv pairs.tsv chain summary; do
    [ -e "$work/$name.$part" ] || continue
    if [ "${UPDATE:-}" = yes ]; then cp "$work/$name.$part" "$golden/$name.$part"; continue; fi
    diff -u "$golden/$name.$part" "$work/$name.$part" > "$work/diff" || fail "$name.$part: $(head -20 "$work/diff")"
  done
  pairs_add_up "$work/$name"
  "$prog" "$@" -o "$work/again" "$work/$name.kept.$ext" 2> /dev/null || fail "$name: the kept file is refused"
  cmp -s "$work/$name.kept.$ext" "$work/again.kept.$ext" || fail "$name: the kept file is not kept whole"
}
[ "${3:-}" = --update ] && UPDATE=yes

case_ ecoli_asm20 ecoli_MG1655_vs_536.minimap2.asm20.paf.gz paf
case_ ecoli_nucmer ecoli_MG1655_vs_536.nucmer.default.delta.gz delta
case_ ecoli_nucmer_reference ecoli_MG1655_vs_536.nucmer.default.delta.gz delta --filter reference --max-gap 10000
case_ mt3_pairs mt3.minimap2.paf paf --filter none
case_ mt_blast mt.blastn.outfmt7 blast7 --score matches --max-overlap 0
case_ mt_sam mt.minimap2.sam sam --min-length 1000
# Threads change no output: cases again on several threads, and a
# generated input of many reading batches over many pairs, all outputs
# compared with one thread's.
case_ ecoli_asm20 ecoli_MG1655_vs_536.minimap2.asm20.paf.gz paf -t 3
case_ mt_blast mt.blastn.outfmt7 blast7 --score matches --max-overlap 0 -t 2
python3 "$(dirname "$0")/../../bench/alisyn_gen.py" paf 30000 300 > "$work/many.paf"
for threads in 1 2 5; do
  "$prog" -t "$threads" -o "$work/many$threads" "$work/many.paf" 2> "$work/many$threads.summary" ||
    fail "many.paf on $threads threads: status $?"
done
for part in blocks.tsv kept.paf chain assign.tsv pairs.tsv summary; do
  for threads in 2 5; do
    cmp -s "$work/many1.$part" "$work/many$threads.$part" || fail "many.paf: $part differs on $threads threads"
  done
done
echo "golden outputs: $failures failures"
[ "$failures" = 0 ]
