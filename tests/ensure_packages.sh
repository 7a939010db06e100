#!/usr/bin/env bash
# Makes sure the Debian packages named on the command line are installed:
# as root it installs the missing ones with apt-get; otherwise it says what
# is missing. Exit status: 0 when all are there, 77 (a test's skip) when
# some cannot be had, 1 for that under CI=true, where no test may skip.
# Usage: tests/ensure_packages.sh PACKAGE...
set -u
missing=()
for package in "$@"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
unavailable() {
  echo "SKIPPED: $1"
  [ "${CI:-}" = true ] && { echo "FAILED: CI needs the Debian packages ${missing[*]}"; exit 1; }
  exit 77
}
[ "$(id -u)" -eq 0 ] || unavailable "missing Debian packages ${missing[*]} and not root to install them"
echo "installing Debian packages: ${missing[*]}"
# The package lists may be absent or stale on a fresh machine; another
# test may be installing at the same time, so wait for the lock.
apt-get -o DPkg::Lock::Timeout=600 update -qq >/dev/null 2>&1
DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -qq "${missing[@]}" >/dev/null 2>&1 ||
  unavailable "apt-get could not install ${missing[*]}"
