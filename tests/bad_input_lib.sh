# Helpers shared by the programs' hostile-input suites (sourced, not run).
# Each suite runs in a fresh work directory, names each case with start(),
# checks it with fail() and the expect_* helpers, and ends with finish.

work=$(mktemp -d)
# Some cases make files or directories unwritable; make them removable.
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
# An interrupted run cleans up too (bash skips the EXIT trap when a signal
# ends it).
trap 'exit 130' INT TERM HUP
cd "$work" || exit 1
cases=0
failures=0
failed_case=

# Counts one failed case however many of its checks fail.
fail() {
  echo "FAIL $case: $*"
  [ "$failed_case" = "$case" ] || failures=$((failures + 1))
  failed_case=$case
}
start() { case=$1; cases=$((cases + 1)); }
# The suites' run() leave the exit status in $status and messages in "err".
expect_status() { [ "$status" = "$1" ] || fail "exit status $status, expected $1: $(head -c 300 err)"; }
expect_one_line() { [ "$(wc -l < err)" = 1 ] || fail "expected one message: $(cat err)"; }
expect_err() { grep -q -- "$1" err || fail "no message matching '$1' in: $(head -c 300 err)"; }
finish() {
  echo "bad inputs: $((cases - failures)) passed, $failures failed"
  [ "$failures" = 0 ]
}
