#!/usr/bin/env bash
# The mitochondrial pair from sequences to a chain: mumfind's alignment
# file and alichain's report on it, both compared whole with the expected
# files (the report's date line masked). UPDATE_GOLDEN=1 rewrites them.
# Usage: pipeline.sh MUMFIND ALICHAIN SEQUENCE_DIR EXPECTED_DIR
set -euo pipefail
mumfind=$1 alichain=$2 sequences=$3 data=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$sequences/MT-human.fa" "$sequences/MT-orang.fa" "$work"
cd "$work"
"$mumfind" -b MT-human.fa MT-orang.fa > mt.gff
"$alichain" -f mt.gff > /dev/null
sed -E 's|^##date .*$|##date <masked>|' mt.gff.chainout > mt.chain
if [ "${UPDATE_GOLDEN:-}" = 1 ]; then
  cp mt.gff "$data/mt_mum.gff"
  cp mt.chain "$data/mt_mum.chain"
fi
diff -u "$data/mt_mum.gff" mt.gff
diff -u "$data/mt_mum.chain" mt.chain
