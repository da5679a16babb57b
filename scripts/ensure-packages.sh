#!/usr/bin/env bash
# Installs the Debian packages named on the command line that are missing,
# running apt-get update first. Works as root or through sudo; says what to
# do when neither is possible.
set -euo pipefail

missing=()
for package in "$@"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

advise() {
  echo "These Debian packages are missing and this user cannot install them:" >&2
  echo "  ${missing[*]}" >&2
  echo "Ask an administrator to run, or run as root:" >&2
  echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
}

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  advise
fi
export DEBIAN_FRONTEND=noninteractive
# A user whom sudo refuses gets the same advice as one without sudo; root
# sees apt-get's own reason.
install() {
  if "${as_root[@]}" "$@"; then return 0; fi
  [ ${#as_root[@]} -eq 0 ] && exit 1
  advise
}
install apt-get update
install apt-get install -y --no-install-recommends "${missing[@]}"
