#!/usr/bin/env bash
# mumfind's matches against those of mummer, as sets: the mitochondrial
# pair, random genomes built with point changes, inversions and repeats,
# and several references against several queries in one pair of files
# (a match is unique when its text occurs once in all the references
# together and once in its query sequence);
# or, given ECOLI_DIR, the two E. coli genomes found there (SKIPPED when
# they are not).
# Usage: mummer_compare.sh MUMFIND SEQUENCE_DIR [ECOLI_DIR] (SEQUENCE_DIR: the mitochondrial genomes)
set -uo pipefail
prog=$1 data=$2 ecoli=${3:-}
source "$(dirname "$0")/../../tests/need_tool.sh"
need_tool mummer mummer

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# mummer's matches and mumfind's table, both as "query strand reference
# ref_start query_start length", sorted. With one sequence a side, mummer
# names neither (-c: reverse matches give the query position of the
# match's first base on the forward strand).
compare() { # label REF QUERY MUMMER_OPTIONS -- MUMFIND_OPTIONS
  local label=$1 ref=$2 query=$3 mo=()
  shift 3
  while [ "$1" != -- ]; do mo+=("$1"); shift; done
  shift
  mummer "${mo[@]}" "$ref" "$query" 2> /dev/null | awk -v one="$(grep -c '^>' "$ref")" '
    /^>/ { q = $2; s = /Reverse/ ? "-" : "+"; next }
    { if (one == 1) print q, s, "-", $1, $2, $3; else print q, s, $1, $2, $3, $4 }' | sort > "$work/theirs"
  "$prog" --table "$@" "$ref" "$query" |
    awk -F'\t' -v one="$(grep -c '^>' "$ref")" '{ print $2, $3, one == 1 ? "-" : $1, $4, $5, $6 }' |
    sort > "$work/ours"
  local n
  n=$(wc -l < "$work/theirs")
  if [ "$n" -gt 0 ] && cmp -s "$work/theirs" "$work/ours"; then
    echo "ok $label: $n matches, identical"
  else
    echo "FAIL $label: mummer $n, mumfind $(wc -l < "$work/ours") matches; differences:"
    diff "$work/theirs" "$work/ours" | head -5
    failures=$((failures + 1))
  fi
}

if [ -n "$ecoli" ]; then
  if [ ! -e "$ecoli/ecoli_MG1655.fa.gz" ] || [ ! -e "$ecoli/ecoli_536.fa.gz" ]; then
    echo "SKIPPED: the E. coli genomes are not in '$ecoli'"
    exit 77
  fi
  zcat "$ecoli/ecoli_MG1655.fa.gz" > "$work/mg.fa"
  zcat "$ecoli/ecoli_536.fa.gz" > "$work/536.fa"
  compare "E. coli, unique, both strands" "$work/mg.fa" "$work/536.fa" -mum -b -c -l 20 -- -b
  compare "E. coli, all maximal, both strands" "$work/mg.fa" "$work/536.fa" -maxmatch -b -c -l 20 -- --mem -b
  [ "$failures" = 0 ]
  exit
fi

# A random reference, and a query made of its pieces with point changes,
# inverted (reverse-complemented) pieces and repeated pieces.
awk -v seed=3 -v n=200000 'BEGIN {
  srand(seed); split("A C G T", b, " "); comp["A"] = "T"; comp["C"] = "G"; comp["G"] = "C"; comp["T"] = "A"
  for (i = 0; i < n; i++) r = r b[1 + int(rand() * 4)]
  while (length(q) < n) {
    p = substr(r, 1 + int(rand() * (n - 3000)), 200 + int(rand() * 2800))
    for (k = 0; k < 20; k++) { at = 1 + int(rand() * length(p)); p = substr(p, 1, at - 1) b[1 + int(rand() * 4)] substr(p, at + 1) }
    if (rand() < 0.3) { rc = ""; for (k = length(p); k > 0; k--) rc = rc comp[substr(p, k, 1)]; p = rc }
    q = q p
    if (rand() < 0.2) q = q substr(q, 1 + int(rand() * length(q)), 300)
  }
  print r > "/dev/stderr"
  print ">random_query\n" q
}' > "$work/query.fa" 2> "$work/ref.body"
{ echo ">random_ref"; cat "$work/ref.body"; } > "$work/ref.fa"

mt_h=$data/MT-human.fa mt_o=$data/MT-orang.fa
compare "mitochondria, unique" "$mt_h" "$mt_o" -mum -l 20 --
compare "mitochondria, unique, both strands" "$mt_h" "$mt_o" -mum -b -c -l 20 -- -b
compare "mitochondria, all maximal, both strands, -l 12" "$mt_h" "$mt_o" -maxmatch -b -c -l 12 -- --mem -b -l 12
compare "random, unique, both strands" "$work/ref.fa" "$work/query.fa" -mum -b -c -l 20 -- -b
compare "random, all maximal, both strands, -l 15" "$work/ref.fa" "$work/query.fa" -maxmatch -b -c -l 15 -- --mem -b -l 15

# Several references (the random one in three pieces, the third ending
# with a copy of a stretch of the first, and a mitochondrion) against
# several queries (the random query in two pieces, the other mitochondrion).
body=$(tail -n +2 "$work/ref.fa")
{
  echo ">piece1"; echo "${body:0:70000}"
  echo ">piece2"; echo "${body:70000:60000}"
  echo ">piece3"; echo "${body:130000}${body:20000:800}"
  cat "$mt_h"
} > "$work/refs.fa"
qbody=$(tail -n +2 "$work/query.fa")
{
  echo ">qpart1"; echo "${qbody:0:90000}"
  echo ">qpart2"; echo "${qbody:90000}"
  cat "$mt_o"
} > "$work/queries.fa"
compare "several sequences, unique, both strands" "$work/refs.fa" "$work/queries.fa" -mum -b -c -l 20 -- -b
compare "several sequences, all maximal, both strands" "$work/refs.fa" "$work/queries.fa" -maxmatch -b -c -l 20 -- --mem -b
compare "several sequences, unique, two threads" "$work/refs.fa" "$work/queries.fa" -mum -b -c -l 20 -- -b -t 2
[ "$failures" = 0 ]
