#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with.
set -euo pipefail

packages=(
  g++ clang-14 libclang-rt-14-dev clang-format-14 cmake ninja-build pkg-config ccache
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  # The command-line tool: options, CSV.
  libcli11-dev libcsv-dev
  # Account check methods for "konto check", and the central bank's bank-code file
  # (blz_*.txt) that "iban aus" reads by default; the command checks the tests against.
  libktoblzcheck1-dev libktoblzcheck1v5 ktoblzcheck
  # The ISO 3166-1 countries the library's table is made from at configure time.
  iso-codes
  # SEPA documents are written with libxml2. The tests validate them against the
  # official schemas, which ship in the jar of libhbci4j-core-java, and read them
  # back with that package's parser (Java) and xmllint.
  libxml2-dev libhbci4j-core-java default-jdk-headless libxml2-utils
  # The printer layer: cairo renders, CUPS prints; the rest is for its tests
  # (a cups-pdf queue, Times-metric fonts, PDF text positions and pictures).
  libcairo2-dev libcups2-dev fonts-liberation fontconfig
  cups cups-client cups-ipp-utils printer-driver-cups-pdf poppler-utils
  # The golden files' generators (checked by CTest) and bench/whole-process.sh
  # (payments generator, peak-memory timing); bench/instructions.sh: instruction counts.
  python3 time valgrind
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
