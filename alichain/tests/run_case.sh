#!/usr/bin/env bash
# Runs one end-to-end case of alichain and compares the whole transcript
# (exit status, standard output, standard error, report files) with the
# case's "expected" file. Only the report's date line is masked.
#
# A case directory holds: "args" (the arguments, one line, split by the
# shell), the input files, optionally "setup" (shell commands run first in
# the work directory) and "stdout_full" (standard output goes to /dev/full).
set -euo pipefail
source "$(dirname "$0")/../../tests/transcript_lib.sh"
program=$1
case_dir=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
find "$case_dir" -maxdepth 1 -type f ! -name expected ! -name args ! -name setup \
  ! -name stdout_full -exec cp {} "$work" \;
cd "$work"
[ -f "$case_dir/setup" ] && bash "$case_dir/setup"

read -r -a args < "$case_dir/args" || true
stdout_target=stdout.txt
[ -f "$case_dir/stdout_full" ] && stdout_target=/dev/full
status=0
(exec -a alichain "$program" "${args[@]}") > "$stdout_target" 2> stderr.txt || status=$?
[ -f stdout.txt ] || : > stdout.txt

reports=()
for report in *.chainout; do
  [ -f "$report" ] && reports+=("$report")
done
transcript "$status" "${reports[@]}" > transcript.txt
compare_golden "$case_dir"
