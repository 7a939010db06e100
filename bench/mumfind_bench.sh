#!/usr/bin/env bash
# mumfind against mummer on E. coli MG1655 (reference) vs 536 (query) and on
# generated pairs of 20 and 100 Mbp (bench/mumfind_gen.cpp: 1% substitutions,
# five inversions of 200 kb, five duplications of 5 kb; deterministic):
#  - mumfind -b against mummer -mum -b -c -l 20, alternating paired runs:
#    medians of time and peak memory (bytes per reference base), the median
#    of the per-pair time ratios, and whether the match sets are the same;
#  - mumfind -b -t 2 against -t 1, alternating paired runs, indexing the
#    reference and with a saved index (-x);
#  - the saved index: `mumfind index` (build and save), its size, loading
#    it (-x with a one-base query) and a search with -x.
# Every figure line ends with the load average while it was measured.
# Usage: mumfind_bench.sh BUILD_DIR
#   PAIRS=n paired runs on E. coli and 20 Mbp (default 9), BIG_RUNS=n at
#   100 Mbp (default 3), SIZES="..." generated sizes (default "20000000 100000000"),
#   ECOLI=0 to leave out E. coli.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
pairs=${PAIRS:-9} big_runs=${BIG_RUNS:-3} sizes=${SIZES:-"20000000 100000000"}
mumfind="$build/mumfind/mumfind"
source "$here/lib.sh"
data=$(shared_data)
bash "$here/../tests/ensure_packages.sh" mummer time >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -O2 -std=c++17 -o "$work/gen" "$here/mumfind_gen.cpp"

# timed FILE COMMAND...: one run, output dropped; appends "seconds kb" to FILE.
timed() {
  local file=$1
  shift
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" > /dev/null 2> "$work/err" ||
    { cat "$work/err" >&2; exit 1; }
  cat "$work/time" >> "$file"
}
load() { cut -d' ' -f1-3 /proc/loadavg; }
column_median() { awk -v c="$2" '{ print $c }' "$1" | median; }
bases() { grep -v '^>' "$1" | tr -d '\n' | wc -c; }

# The match sets of both programs, as "strand ref_start query_start length".
same_matches() { # REF QUERY
  mummer -mum -b -c -l 20 "$1" "$2" 2> /dev/null |
    awk '/^>/ { s = /Reverse/ ? "-" : "+"; next } { print s, $1, $2, $3 }' | sort > "$work/theirs"
  "$mumfind" -b --table "$1" "$2" | awk -F'\t' '{ print $3, $4, $5, $6 }' | sort > "$work/ours"
  if cmp -s "$work/theirs" "$work/ours"; then echo "same $(wc -l < "$work/ours") matches"
  else echo "DIFFERENT: mummer $(wc -l < "$work/theirs"), mumfind $(wc -l < "$work/ours")"; fi
}

# paired LABEL RUNS N A... -- B...: RUNS alternating pairs of A and B (the
# order flips every pair); prints each side's medians and the median of
# the time ratios A/B (above 1: B is faster).
paired() {
  local label=$1 runs=$2 n=$3 a=() b=() before
  shift 3
  before=$(load)
  while [ "$1" != -- ]; do a+=("$1"); shift; done
  shift
  b=("$@")
  rm -f "$work/a" "$work/b" "$work/ratio"
  for i in $(seq "$runs"); do
    if [ $((i % 2)) = 1 ]; then timed "$work/a" "${a[@]}"; timed "$work/b" "${b[@]}"
    else timed "$work/b" "${b[@]}"; timed "$work/a" "${a[@]}"; fi
    paste <(tail -1 "$work/a") <(tail -1 "$work/b") | awk '{ printf "%.4f\n", $1 / $3 }' >> "$work/ratio"
  done
  awk -v l="$label" -v n="$n" -v r="$runs" -v as="$(column_median "$work/a" 1)" -v ak="$(column_median "$work/a" 2)" \
    -v bs="$(column_median "$work/b" 1)" -v bk="$(column_median "$work/b" 2)" -v ratio="$(median < "$work/ratio")" \
    -v ld="$before -> $(load)" 'BEGIN {
    printf "%-34s A %8.2f s %9d KB %5.1f B/base | B %8.2f s %9d KB %5.1f B/base | time A/B %.2f (%d pairs) | load %s\n",
      l, as, ak, ak * 1024 / n, bs, bk, bk * 1024 / n, ratio, r, ld }'
}

# The saved index: build and save (-t 1 and -t 2), its size, loading, a
# search with it.
saved_index() { # LABEL REF QUERY N
  local label=$1 ref=$2 query=$3 n=$4
  rm -f "$work/build" "$work/build2" "$work/load" "$work/search"
  printf '>one\nA\n' > "$work/one.fa"
  for _ in 1 2 3; do
    timed "$work/build" "$mumfind" index "$ref" -o "$work/ref.idx"
    timed "$work/build2" "$mumfind" index -t 2 "$ref" -o "$work/ref.idx"
    timed "$work/load" "$mumfind" -x "$work/ref.idx" "$work/one.fa"
  done
  timed "$work/search" "$mumfind" -b -x "$work/ref.idx" "$query"
  awk -v l="$label" -v n="$n" -v size="$(wc -c < "$work/ref.idx")" -v bs="$(column_median "$work/build" 1)" \
    -v bk="$(column_median "$work/build" 2)" -v ls="$(column_median "$work/load" 1)" \
    -v lk="$(column_median "$work/load" 2)" -v ss="$(column_median "$work/search" 1)" -v ld="$(load)" \
    -v b2="$(column_median "$work/build2" 1)" 'BEGIN {
    printf "%-34s index %7.2f s (-t 2 %.2f s) %5.1f B/base peak, file %5.2f B/base; load %6.2f s (%.2f of the build) %5.1f B/base; -b -x %7.2f s | load %s\n",
      l, bs, b2, bk * 1024 / n, size / n, ls, ls / bs, lk * 1024 / n, ss, ld }'
}

dataset() { # LABEL REF QUERY RUNS
  local label=$1 ref=$2 query=$3 runs=$4 n
  n=$(bases "$ref")
  echo "== $label: $n reference bases; $(same_matches "$ref" "$query")"
  paired "$label: A mumfind -b, B mummer" "$runs" "$n" "$mumfind" -b "$ref" "$query" -- \
    mummer -mum -b -c -l 20 "$ref" "$query"
  paired "$label: A -b -t 1, B -b -t 2" "$runs" "$n" "$mumfind" -b -t 1 "$ref" "$query" -- \
    "$mumfind" -b -t 2 "$ref" "$query"
  saved_index "$label" "$ref" "$query" "$n"
  paired "$label: A -x -b -t 1, B -x -b -t 2" "$runs" "$n" "$mumfind" -b -t 1 -x "$work/ref.idx" "$query" -- \
    "$mumfind" -b -t 2 -x "$work/ref.idx" "$query"
}

echo "mumfind against mummer -mum -b -c -l 20 (time: wall-clock medians; memory: peak resident; load: $(load))"
if [ "${ECOLI:-1}" != 0 ]; then
  zcat "$data/ecoli_MG1655.fa.gz" > "$work/mg.fa"
  zcat "$data/ecoli_536.fa.gz" > "$work/536.fa"
  dataset "E. coli" "$work/mg.fa" "$work/536.fa" "$pairs"
  rm -f "$work/mg.fa" "$work/536.fa"
fi
for size in $sizes; do
  "$work/gen" "$size" "$work/ref.fa" "$work/query.fa"
  runs=$pairs
  [ "$size" -ge 100000000 ] && runs=$big_runs
  dataset "generated $((size / 1000000)) Mbp" "$work/ref.fa" "$work/query.fa" "$runs"
done
echo "(load at the end: $(load))"
