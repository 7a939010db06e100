#!/usr/bin/env bash
# Times aliplot on 10^6 generated alignment lines with a chain report of
# 5x10^5 members, as SVG, HTML, PNG and PDF (median wall-clock and CPU
# seconds of RUNS runs each), and prints each output's size, the peak
# memory, and the time headless Chromium takes to the page's load event.
# usage: aliplot_bench.sh BUILD_DIR   (RUNS=5 by default)
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
runs=${RUNS:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$here/lib.sh"

n=1000000
members=500000
python3 "$here/aliplot_gen.py" "$n" "$members" "$work/in.gff" "$work/in.chain"
echo "N=$n alignments, chain members: $members"
for format in svg html png pdf; do
  : > "$work/wall"
  : > "$work/cpu"
  for _ in $(seq "$runs"); do
    /usr/bin/time -f '%e %U %S' -o "$work/t" "$build/aliplot/aliplot" "$work/in.gff" "$work/in.chain" \
      -o "$work/out.$format"
    read -r wall user sys < "$work/t"
    echo "$wall" >> "$work/wall"
    awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }' >> "$work/cpu"
  done
  size=$(stat -c %s "$work/out.$format")
  peak=$(peak_kb "$build/aliplot/aliplot" "$work/in.gff" "$work/in.chain" -o "$work/out.$format")
  printf '%-4s median %s s wall, %s s CPU; output %s bytes (%.1f MB); peak memory %s KB\n' \
    "$format" "$(median < "$work/wall")" "$(median < "$work/cpu")" "$size" \
    "$(awk -v b="$size" 'BEGIN { print b / 1e6 }')" "$peak"
done

# The page's time from navigation start to its load event, as the page
# itself measures it, in headless Chromium (when installed).
if command -v chromium > /dev/null; then
  printf '%s\n' '<script>addEventListener("load", () => setTimeout(() => {' \
    'const t = performance.getEntriesByType("navigation")[0];' \
    'document.title = "load " + Math.round(t.loadEventStart) + " ms";}, 0));</script>' >> "$work/out.html"
  loaded=$(timeout 120 chromium --headless --no-sandbox --disable-gpu --no-first-run --virtual-time-budget=60000 \
    --dump-dom "file://$work/out.html" 2> /dev/null | grep -o '<title>load [0-9]* ms' | sed 's/<title>//')
  echo "page in headless Chromium: ${loaded:-no load event seen}"
else
  echo "page in headless Chromium: not measured (chromium not installed)"
fi
