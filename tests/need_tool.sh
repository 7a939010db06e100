# Sourced by tests that run an outside tool: need_tool COMMAND PACKAGE makes
# sure COMMAND is on the PATH, installing Debian's PACKAGE when it can. When
# it cannot, the test prints SKIPPED with the reason and exits with 77, which
# ctest counts as skipped; under CI (CI=true) a missing tool fails the test.
need_tool() {
  command -v "$1" >/dev/null 2>&1 && return 0
  bash "$(dirname "${BASH_SOURCE[0]}")/ensure_packages.sh" "$2" >/dev/null 2>&1
  command -v "$1" >/dev/null 2>&1 && return 0
  echo "SKIPPED: $1 (Debian package $2) is not installed and could not be installed"
  [ "${CI:-}" = true ] && exit 1
  exit 77
}
