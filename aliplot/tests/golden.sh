#!/usr/bin/env bash
# Draws the small pair in data/ with its chain reports as SVG and compares
# the whole output with the expected file beside it (UPDATE_GOLDEN=1
# rewrites it). The page, which embeds the same SVG, is checked in a browser
# by e2e_mt.sh.
# usage: golden.sh ALIPLOT
set -euo pipefail
aliplot=$1
data=$(cd "$(dirname "$0")/data" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$data"
failed=0
for format in svg; do
  "$aliplot" small.gff small.chain -o "$work/small.$format" 2> "$work/err" || { cat "$work/err"; exit 1; }
  [ "${UPDATE_GOLDEN:-}" = 1 ] && cp "$work/small.$format" "expected.$format"
  diff -u "expected.$format" "$work/small.$format" > "$work/diff" || { head -50 "$work/diff"; failed=1; }
done
exit $failed
