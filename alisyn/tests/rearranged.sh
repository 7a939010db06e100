#!/usr/bin/env bash
# Planted rearrangements found again: a copy of the first 1.2 Mbp of E. coli
# MG1655 with an inversion, a translocation and a duplication (see
# make_rearranged.py) is matched against the original with mumfind (all
# maximal matches of at least 1,000 bases, both strands) and with minimap2;
# alisyn must class each planted event's block as such, with both ends in
# both sequences within DISTANCE bases of the planted breakpoints.
# Usage: rearranged.sh <alisyn> <mumfind> <shared data folder>
set -uo pipefail
alisyn=$1
mumfind=$2
shared=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tests/need_tool.sh"
need_tool minimap2 minimap2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
DISTANCE=100
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

python3 "$here/make_rearranged.py" "$shared/ecoli_MG1655.fa.gz" ref.fa rearranged.fa || exit 1
"$mumfind" -b --mem -l 1000 ref.fa rearranged.fa -o mumfind.gff || exit 1
minimap2 -c -x asm5 ref.fa rearranged.fa > minimap2.paf 2> /dev/null || exit 1

# expect FILE CLASS STRAND XB XE YB YE: one block of CLASS with these ends.
expect() {
  local file=$1 class=$2 strand=$3
  shift 3
  awk -F'\t' -v c="$class" -v s="$strand" -v xb="$1" -v xe="$2" -v yb="$3" -v ye="$4" -v d=$DISTANCE '
    function near(a, b) { return a - b <= d && b - a <= d }
    $9 == c && $8 == s && near($3, xb) && near($4, xe) && near($6, yb) && near($7, ye) { found++ }
    END { exit found == 1 ? 0 : 1 }' "$file" ||
    fail "$file: no $class block $strand $* (within $DISTANCE): $(grep -v syntenic "$file")"
}
count() {
  local file=$1 class=$2 n=$3
  [ "$(awk -F'\t' -v c="$class" '$9 == c' "$file" | wc -l)" = "$n" ] || fail "$file: not $n $class blocks"
}

for input in mumfind.gff minimap2.paf; do
  for filter in query one-to-one; do
    out=${input%.*}.$filter
    "$alisyn" --filter "$filter" -o "$out" "$input" 2> /dev/null || fail "alisyn failed on $input"
    expect $out.blocks.tsv inverted - 200001 400000 200001 400000
    expect $out.blocks.tsv translocated + 600001 750000 850001 1000000
    count $out.blocks.tsv syntenic 4
    count $out.blocks.tsv inverted 1
    count $out.blocks.tsv translocated 1
    if [ "$filter" = query ]; then
      expect $out.blocks.tsv duplicated + 450001 500000 1200001 1250000
      count $out.blocks.tsv duplicated 1
    else
      count $out.blocks.tsv duplicated 0
    fi
    awk -F'\t' '$1 == "rearranged" && $3 == "ref" && $4 == "+"' $out.assign.tsv | grep -q . ||
      fail "$out.assign.tsv: rearranged is not assigned to ref, +"
  done
done
echo "rearranged genome: $failures failures"
[ "$failures" = 0 ]
