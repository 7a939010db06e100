#!/usr/bin/env bash
# Suffix-tree builder benchmark: builds the tree of the E. coli genome in
# each child layout and of 1, 2 and 4 Mbp prefixes in the default layout,
# and times mummer's tree of the same genome as the peer. Prints the median
# of $RUNS runs (default 3): build time, peak memory and bytes per character.
# Usage: stree_bench.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
genome_gz="$(shared_data)/ecoli_MG1655.fa.gz"
driver="$build/lumo/stree_bench"
runs=${RUNS:-3}

[ -x "$driver" ] || { echo "stree_bench.sh: $driver not built" >&2; exit 1; }
if ! command -v mummer >/dev/null; then
  apt-get update -qq && apt-get install -y -qq mummer >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
zcat "$genome_gz" > "$work/genome.fa"
# A 1,000-bp query cut from the genome, so that mummer spends its time on
# building the genome's tree.
awk 'NR > 1' "$work/genome.fa" | tr -d '\n' | cut -c 1000001-1001000 |
  { echo ">query"; cat; echo; } > "$work/query.fa"


# Runs "$@" $runs times under /usr/bin/time; prints median seconds (the
# driver's own build time when it reports one, else wall time) and median
# peak resident KB.
measure() {
  local secs=() kbs=()
  for _ in $(seq "$runs"); do
    /usr/bin/time -f "wall %e maxkb %M" -o "$work/time" "$@" > "$work/out" 2> "$work/err" ||
      { cat "$work/err" >&2; exit 1; }
    local s
    s=$(awk '/build_s/ {for (k = 1; k < NF; k++) if ($k == "build_s") print $(k + 1)}' "$work/out")
    [ -n "$s" ] || s=$(awk '/^wall/ {print $2}' "$work/time")
    secs+=("$s")
    kbs+=("$(awk '/^wall/ {print $4}' "$work/time")")
  done
  echo "$(printf '%s\n' "${secs[@]}" | median) $(printf '%s\n' "${kbs[@]}" | median)"
}

report() { # label chars seconds kb
  awk -v l="$1" -v n="$2" -v s="$3" -v kb="$4" \
    'BEGIN {printf "%-34s %9d chars %8.2f s %9d KB %7.1f B/char\n", l, n, s, kb, kb * 1024 / n}'
}

total=$(awk 'NR > 1' "$work/genome.fa" | tr -d '\n' | wc -c)
echo "suffix-tree build, median of $runs runs (timings indicative on a shared machine)"
read -r ours_s ours_kb < <(measure "$driver" "$work/genome.fa" 0 0 0)
report "lumo policy 0 (list, default)" "$total" "$ours_s" "$ours_kb"
for threshold in 2 4; do
  read -r s kb < <(measure "$driver" "$work/genome.fa" 0 1 "$threshold")
  report "lumo policy 1 threshold $threshold (table)" "$total" "$s" "$kb"
done
for prefix in 1000000 2000000 4000000; do
  read -r s kb < <(measure "$driver" "$work/genome.fa" "$prefix" 0 0)
  report "lumo policy 0, prefix" "$prefix" "$s" "$kb"
done
read -r peer_s peer_kb < <(measure mummer -maxmatch -l 20 "$work/genome.fa" "$work/query.fa")
report "mummer -maxmatch -l 20 (wall)" "$total" "$peer_s" "$peer_kb"
awk -v a="$ours_s" -v b="$peer_s" -v kb="$ours_kb" -v n="$total" 'BEGIN {
  printf "default layout: %.2f x mummer time (target <= 1.5), %.1f B/char (target <= 120)\n",
    a / b, kb * 1024 / n }'
