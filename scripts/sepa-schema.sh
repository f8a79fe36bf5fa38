#!/usr/bin/env bash
# Puts the official pain.008.001.02 schema (SEPA direct debit) into the folder given, for
# the tests to validate remittance files against. Debian ships it inside the package
# tryton-modules-account-payment-sepa: the package is downloaded, not installed, and only
# that one file is taken out. Fails loudly when it cannot be had. Safe to run again.
set -euo pipefail
dest=${1:?usage: sepa-schema.sh DEST_DIR}
package=tryton-modules-account-payment-sepa
name=pain.008.001.02.xsd

if [ -s "$dest/$name" ]; then
  exit 0
fi
mkdir -p "$dest"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fetch() { (cd "$work" && apt-get download -q "$package" >/dev/null 2>&1); }
if ! fetch; then
  # Package lists that were never fetched, or are too old to name the current version.
  sudo=""
  [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null 2>&1 && sudo="sudo"
  $sudo apt-get update -q >/dev/null 2>&1 || true
  fetch || { echo "ERROR: could not download the Debian package $package for $name" >&2; exit 1; }
fi
dpkg-deb -x "$work"/"$package"_*.deb "$work/x"
found=$(find "$work/x" -type f -name "$name" | head -n 1)
if [ -z "$found" ]; then
  echo "ERROR: the package $package holds no $name" >&2
  exit 1
fi
# A schema that does not load is as good as none.
xmllint --noout "$found"
cp "$found" "$dest/$name.tmp"
mv "$dest/$name.tmp" "$dest/$name"
echo "SEPA schema: $dest/$name"
