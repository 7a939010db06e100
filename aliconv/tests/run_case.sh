#!/usr/bin/env bash
# Runs one end-to-end case of aliconv (with alichain where the case chains)
# and compares the whole transcript (exit status, standard output, standard
# error, the files the case names) with the case's "expected" file. Only
# the chain report's date line is masked.
#
# A case folder holds "cmd" (shell commands run in a work folder holding a
# copy of the aligner output as data/, with aliconv and alichain on the
# PATH) and optionally "files" (the output files to show, one a line).
# UPDATE_GOLDEN=1 rewrites "expected".
set -euo pipefail
aliconv_dir=$1
alichain_dir=$2
data=$3
case_dir=$4

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$data" "$work/data"
cd "$work"
status=0
PATH="$aliconv_dir:$alichain_dir:$PATH" bash "$case_dir/cmd" > stdout.txt 2> stderr.txt || status=$?

mask() { sed -E 's|^##date .*$|##date <masked>|'; }
{
  echo "== status $status"
  echo "== stdout"
  mask < stdout.txt
  echo "== stderr"
  cat stderr.txt
  if [ -f "$case_dir/files" ]; then
    while read -r name; do
      echo "== file $name"
      if [ -f "$name" ]; then mask < "$name"; else echo "(missing)"; fi
    done < "$case_dir/files"
  fi
} > transcript.txt

if [ "${UPDATE_GOLDEN:-}" = 1 ]; then
  cp transcript.txt "$case_dir/expected"
fi
diff -u "$case_dir/expected" transcript.txt
