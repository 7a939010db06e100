#!/usr/bin/env bash
# Runs every benchmark script in bench/ against the Release build in $1.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
for script in "$here"/*_bench.sh; do
  [ -e "$script" ] || continue
  echo "== $(basename "$script")"
  bash "$script" "$build"
done
