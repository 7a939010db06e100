#!/usr/bin/env bash
# mumfind benchmark on E. coli MG1655 (reference) vs 536 (query):
#  - mumfind -b against mummer -mum -b -c -l 20, runs alternating, medians
#    of time and peak memory (bytes per reference character);
#  - growth with genome size: 1, 2 and 4 Mbp prefixes of both genomes;
#  - the design: the suffix tree of the reference alone against a tree of
#    reference and query together (built by stree_bench);
#  - loading the gzip FASTA of 536 into the sequence array against
#    `zcat FILE | wc -c`.
# Usage: mumfind_bench.sh BUILD_DIR   (RUNS=n runs per figure, default 5)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
runs=${RUNS:-5}
mumfind="$build/mumfind/mumfind"
source "$here/lib.sh"
data=$(shared_data)
bash "$here/../tests/ensure_packages.sh" mummer time >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
zcat "$data/ecoli_MG1655.fa.gz" > "$work/ref.fa"
zcat "$data/ecoli_536.fa.gz" > "$work/query.fa"

# A FASTA of the first $2 bases of the FASTA $1.
prefix() {
  awk 'NR == 1' "$1"
  awk 'NR > 1' "$1" | tr -d '\n' | cut -c "1-$2" | fold -w 70
}

# timed LABEL COMMAND...: one run; appends "seconds kb" to $work/LABEL.
timed() {
  local label=$1
  shift
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" > /dev/null 2> "$work/err" ||
    { cat "$work/err" >&2; exit 1; }
  cat "$work/time" >> "$work/$label"
}
medians() { # LABEL -> "seconds kb"
  echo "$(awk '{print $1}' "$work/$1" | median) $(awk '{print $2}' "$work/$1" | median)"
}
chars() { awk 'NR > 1' "$1" | tr -d '\n' | wc -c; }

# pair REF QUERY LABEL: alternating runs of both programs; prints both lines.
pair() {
  local ref=$1 query=$2 label=$3 n
  n=$(chars "$ref")
  rm -f "$work/ours" "$work/theirs"
  for _ in $(seq "$runs"); do
    timed ours "$mumfind" -b "$ref" "$query"
    timed theirs mummer -mum -b -c -l 20 "$ref" "$query"
  done
  read -r os ok < <(medians ours)
  read -r ts tk < <(medians theirs)
  awk -v l="$label" -v n="$n" -v os="$os" -v ok="$ok" -v ts="$ts" -v tk="$tk" 'BEGIN {
    printf "%-22s mumfind %7.2f s %8d KB %6.1f B/char | mummer %7.2f s %7d KB %5.1f B/char | time x %.2f\n",
      l, os, ok, ok * 1024 / n, ts, tk, tk * 1024 / n, os / ts }'
}

echo "mumfind -b vs mummer -mum -b -c -l 20, medians of $runs alternating runs (shared machine: indicative)"
for size in 1000000 2000000 4000000; do
  prefix "$work/ref.fa" $size > "$work/ref_$size.fa"
  prefix "$work/query.fa" $size > "$work/query_$size.fa"
  pair "$work/ref_$size.fa" "$work/query_$size.fa" "prefixes $((size / 1000000)) Mbp"
done
pair "$work/ref.fa" "$work/query.fa" "whole genomes"

echo "suffix tree of the reference alone vs of reference and query together (stree_bench)"
{ cat "$work/ref.fa"; awk 'NR > 1' "$work/query.fa"; } > "$work/both.fa"
for input in ref both; do
  rm -f "$work/tree"
  for _ in $(seq "$runs"); do timed tree "$build/lumo/stree_bench" "$work/$input.fa" 0 0 0; done
  read -r s kb < <(medians tree)
  awk -v l="$input" -v n="$(chars "$work/$input.fa")" -v s="$s" -v kb="$kb" 'BEGIN {
    printf "tree of %-5s %9d chars %7.2f s %8d KB %6.1f B/char\n", l, n, s, kb, kb * 1024 / n }'
done

echo "loading $(basename "$data/ecoli_536.fa.gz") into the sequence array vs zcat | wc -c"
ours=() theirs=()
for _ in $(seq "$runs"); do
  ours+=("$(elapsed "$build/lumo/seqload_bench" "$data/ecoli_536.fa.gz")")
  theirs+=("$(elapsed sh -c "zcat '$data/ecoli_536.fa.gz' | wc -c")")
done
o=$(printf '%s\n' "${ours[@]}" | median) t=$(printf '%s\n' "${theirs[@]}" | median)
awk -v o="$o" -v t="$t" 'BEGIN { printf "load %.3f s, zcat | wc -c %.3f s: x %.2f (target <= 1.5)\n", o, t, o / t }'
