#!/usr/bin/env bash
# Draws the inputs in data/ and compares each whole output with the
# expected file beside them (UPDATE_GOLDEN=1 rewrites those):
#   small:    a small pair with its chain reports, as SVG;
#   planted:  MG1655's first 1.2 Mbp against a copy with a planted
#             inversion, translocation and duplication (mumfind's matches,
#             alisyn --filter query's blocks and assignment; e2e_planted.sh
#             makes them again), as SVG;
#   assembly: examples/assembly.paf with alisyn --filter query's blocks
#             and assignment, as SVG and as a page whose inline script and
#             style sheet are masked (the page test runs them).
# usage: golden.sh ALIPLOT
set -euo pipefail
aliplot=$1
data=$(cd "$(dirname "$0")/data" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$data"
failed=0
# compare NAME FILE: FILE against data/expected_NAME (masked for a page).
compare() {
  local expected=$data/expected_$1 got=$2
  if [ "${got##*.}" = html ]; then
    sed -i -e '/^<style>$/,/^<\/style>$/c <style>(masked)</style>' \
           -e '/^<script>$/,/^<\/script>$/c <script>(masked)</script>' "$got"
  fi
  [ "${UPDATE_GOLDEN:-}" = 1 ] && cp "$got" "$expected"
  diff -u "$expected" "$got" > "$work/diff" || { echo "FAIL: $1"; head -50 "$work/diff"; failed=1; }
}
run() {  # run OUT ARGS...
  local out=$1
  shift
  "$aliplot" "$@" -o "$work/$out" 2> "$work/err" || { cat "$work/err"; exit 1; }
  compare "$out" "$work/$out"
}
run small.svg small.gff small.chain
run planted.svg planted.gff --blocks planted.blocks.tsv --assign planted.assign.tsv
for format in svg html; do
  run assembly.$format ../../../examples/assembly.paf --blocks assembly.blocks.tsv --assign assembly.assign.tsv \
    --title "40 contigs against 5 references"
done
exit $failed
