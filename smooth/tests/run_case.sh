#!/usr/bin/env bash
# Runs the program on one end-to-end case and compares everything it does.
# Usage: run_case.sh <smooth binary> <case directory>
# The case directory holds:
#   args    the command-line arguments (split at blanks)
#   in      the input file, if any, available as "in"
#   pre     a file to place at "out" before the run, if any
#   out     the expected "out" file; without it, "out" must not exist
#   err     the expected standard error (empty if absent)
#   stdout  the expected standard output (empty if absent)
#   status  the expected exit status (0 if absent)
# The run takes place in a scratch directory that also holds an empty
# directory "dir".
set -uo pipefail
prog=$1
case_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM HUP  # so that an interrupted run cleans up too
mkdir "$work/dir"
[ -e "$case_dir/in" ] && cp "$case_dir/in" "$work/in"
[ -e "$case_dir/pre" ] && cp "$case_dir/pre" "$work/out"
read -r -a args < "$case_dir/args" || true
(cd "$work" && "$prog" "${args[@]}" > stdout 2> err)
status=$?

fail=0
expect_file() {  # expected-file actual-file
  if [ -e "$1" ]; then
    cmp -s "$1" "$2" || { echo "differs: $(basename "$2")"; diff "$1" "$2" | head -20; fail=1; }
  elif [ -s "$2" ]; then
    echo "unexpected $(basename "$2"):"; head -20 "$2"; fail=1
  fi
}
expect_file "$case_dir/err" "$work/err"
expect_file "$case_dir/stdout" "$work/stdout"
if [ -e "$case_dir/out" ]; then
  [ -e "$work/out" ] || { echo "no output file"; fail=1; }
  expect_file "$case_dir/out" "$work/out"
elif [ -e "$work/out" ]; then
  echo "output file created"; fail=1
fi
want=$(cat "$case_dir/status" 2>/dev/null || echo 0)
[ "$status" = "$want" ] || { echo "exit status $status, expected $want"; fail=1; }
exit $fail
