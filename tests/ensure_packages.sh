#!/usr/bin/env bash
# Installs the Debian packages named on the command line that are missing.
# As root it runs apt-get; otherwise it names what is missing and fails.
# Usage: tests/ensure_packages.sh PACKAGE...
set -u
missing=()
for package in "$@"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "missing Debian packages: ${missing[*]} (install them with: sudo apt-get install ${missing[*]})" >&2
  exit 1
fi
echo "installing Debian packages: ${missing[*]}" >&2
# The package lists may be absent or stale on a fresh machine; another
# test may be installing at the same time, so wait for the lock.
apt-get -o DPkg::Lock::Timeout=600 update -qq >&2 &&
  DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -qq "${missing[@]}" >&2
