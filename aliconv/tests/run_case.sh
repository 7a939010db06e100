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
source "$(dirname "$0")/../../tests/transcript_lib.sh"
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

files=()
[ -f "$case_dir/files" ] && mapfile -t files < "$case_dir/files"
transcript "$status" "${files[@]}" > transcript.txt
compare_golden "$case_dir"
