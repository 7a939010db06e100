# Shell helpers shared by the benchmark scripts (sourced, not run).

# Median of the numbers on standard input, one per line.
median() {
  sort -g | awk '{ v[NR] = $1 } END { m = int((NR + 1) / 2); printf "%.3f\n", (NR % 2) ? v[m] : (v[m] + v[m + 1]) / 2 }'
}

# Wall-clock seconds of one run of a command, its standard output dropped.
elapsed() {
  local start end
  start=$(date +%s%N)
  "$@" > /dev/null
  end=$(date +%s%N)
  awk -v ns=$((end - start)) 'BEGIN { printf "%.4f\n", ns / 1e9 }'
}

# Peak resident memory in KB of one run of a command.
peak_kb() {
  local report
  report=$(mktemp)
  /usr/bin/time -f '%M' -o "$report" "$@" > /dev/null 2>&1
  cat "$report"
  rm -f "$report"
}

# The folder of the shared genomes: LUMO_SHARED_DATA, or shared/data beside
# the project's folder.
shared_data() {
  echo "${LUMO_SHARED_DATA:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/shared/data}"
}
