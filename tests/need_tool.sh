# Sourced by tests that run an outside tool: need_tool COMMAND PACKAGE makes
# sure COMMAND is on the PATH, installing Debian's PACKAGE when it can. When
# it cannot, ensure_packages.sh has printed SKIPPED with the reason and the
# test exits with its status: 77, which ctest counts as skipped, or 1 under
# CI (CI=true), where a missing tool fails the test.
need_tool() {
  command -v "$1" >/dev/null 2>&1 && return 0
  bash "$(dirname "${BASH_SOURCE[0]}")/ensure_packages.sh" "$2" || exit $?
  command -v "$1" >/dev/null 2>&1 && return 0
  echo "SKIPPED: package $2 is installed but gives no $1"
  [ "${CI:-}" = true ] && exit 1
  exit 77
}
