#!/usr/bin/env bash
# Installs the Debian packages that building, testing, running and packaging
# Talvero need, and only those that are missing. Safe to run again.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ make pkg-config ccache lld
  qt6-base-dev qt6-base-dev-tools libgl-dev
  # the print server's own reason when it refuses a job
  libcups2-dev
  # the program at run time: Spanish framework dialogs, fonts for the form and the page
  qt6-translations-l10n fonts-dejavu-core fonts-liberation fontconfig
  # the register of issued receipts: Qt's SQLite driver, and sqlite3 to read the file
  libqt6sql6-sqlite sqlite3
  # the register on an office's PostgreSQL server: Qt's driver, and the server the tests start
  libqt6sql6-psql postgresql
  # tests: offscreen Qt, a real CUPS with a PDF queue, PDF inspection
  cups cups-client cups-ipp-utils cups-filters printer-driver-cups-pdf poppler-utils
  # tests: the certificates of the stand-in of the tax agency's service; the sending's own
  # OpenSSL library, whose legacy provider reads older certificate files
  openssl libssl-dev
  # tests: remittance files validated against the bank's schema (scripts/sepa-schema.sh)
  libxml2-utils
  # the QR code of an invoice's record, and the tests' decoder that reads it back
  libqrencode-dev zbar-tools
  # fuzzing, sanitizers, benchmarks
  clang libclang-rt-dev libbenchmark-dev time bc
  # packaging
  dpkg-dev file desktop-file-utils
  # looking at the program as a user would
  xvfb xauth x11-apps imagemagick
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null 2>&1 || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
# cups' post-install wants to start the service; on machines without a running
# init that fails harmlessly, so keep dpkg from trying.
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
