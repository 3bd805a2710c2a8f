#!/usr/bin/env bash
# Builds the command-line tool and runs it on the shipped examples: writes the
# payment files with their cover sheets (text and PDF) into out/, reads one
# back with --verify, and rebuilds a cover sheet from a written file. The SEPA
# files are checked against the official schemas, taken from Debian's
# libhbci4j-core-java.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=g++
cmake --build build -j "$(nproc)" --target zordta
zordta=./build/cli/zordta
mkdir -p out
run() {
  echo "\$ zordta $*"
  "$zordta" "$@"
  echo
}

# The C++ API example's data are job files too.
run dtaus write --job examples/data/ueberweisungen.json --verzeichnis out --overwrite
run dtaus write --job examples/data/lastschriften.json --verzeichnis out --overwrite

# Salaries with key 53000, due in two days.
run dtaus write --job examples/cli/gehaelter.json --verzeichnis out --overwrite \
  --ausfuehrung "$(date -d '+2 days' +%F)"
# Credit transfers from CSV, the client given as options.
run dtaus write --csv examples/cli/ueberweisungen.csv --verzeichnis out --overwrite \
  --dateiname ueberweisungen.dta \
  --name "Bäckerei Schönfeld GmbH" --blz 37040044 --konto 532013000
# Direct debits: a job, and a semicolon CSV as spreadsheets export it.
run dtaus write --job examples/cli/beitraege.json --verzeichnis out --overwrite
run dtaus write --csv examples/cli/lastschriften.csv --lastschriften --verzeichnis out --overwrite \
  --dateiname lastschriften.dta \
  --name "Sportverein Grün-Weiß e.V." --blz 37040044 --konto 532013000
# Foreign payments: a job, and a CSV with two currencies.
run dtazv write --job examples/cli/auslandszahlungen.json --verzeichnis out --overwrite
run dtazv write --csv examples/cli/auslandszahlungen.csv --verzeichnis out --overwrite \
  --dateiname DTAZV-CSV --lfd-nummer 2 \
  --name "Müller Maschinenbau GmbH" --strasse "Königstraße 12" --ort "70173 Stuttgart" \
  --blz 60050101 --konto 1234567 --bundesland 8 --firmennummer 12345678

# Read back with the E record checked, and the cover sheet rebuilt from the file.
run dtaus read out/gehaelter.dta --verify
run coversheet out/DTAUS0.TXT --pdf out/DTAUS0.TXT.neu.pdf --overwrite --text

# SEPA: credit transfers from CSV, direct debits (all four sequence types) from a
# job, and the debits once more as B2B in the older German version.
run sepa write --csv examples/cli/sepa-ueberweisungen.csv --verzeichnis out --overwrite \
  --name "Bäckerei Schönfeld GmbH" --iban "DE89 3704 0044 0532 0130 00" --bic COBADEFFXXX
run sepa write --job examples/cli/sepa-lastschriften.json --verzeichnis out --overwrite
run sepa write --job examples/cli/sepa-lastschriften.json --verzeichnis out --overwrite \
  --b2b --version-alt --dateiname sepa-lastschriften-b2b.xml
# Every element beyond accounts and references: addresses, identifications,
# ultimate parties, creditor references, mandate amendments, block ids.
run sepa write --job examples/cli/sepa-alles.json --verzeichnis out --overwrite \
  --dateiname sepa-alles.xml
run sepa write --job examples/cli/sepa-alles-ueberweisungen.json --verzeichnis out --overwrite \
  --dateiname sepa-alles-ueberweisungen.xml
mkdir -p out/sepa-xsd
(cd out/sepa-xsd && cmake -E tar xf /usr/share/java/hbci4j-core.jar \
  pain.001.001.09.xsd pain.008.001.08.xsd pain.008.003.02.xsd)
# DTAUS files written above, carried into SEPA. Debian's bank-code file names no
# IBAN rules, so the standard rule is assumed (with a warning); debits take their
# mandates from a table.
run sepa convert out/ueberweisungen.dta --verzeichnis out --overwrite --standardregel
run sepa convert out/gehaelter.dta --verzeichnis out --overwrite --standardregel
run sepa convert out/lastschriften.dta --verzeichnis out --overwrite --standardregel \
  --mandate examples/cli/mandate.csv --glaeubiger-id DE98ZZZ09999999999
xmllint --noout --schema out/sepa-xsd/pain.001.001.09.xsd out/sepa-ueberweisungen.xml \
  out/ueberweisungen.xml out/gehaelter.xml out/sepa-alles-ueberweisungen.xml
xmllint --noout --schema out/sepa-xsd/pain.008.001.08.xsd out/sepa-lastschriften.xml \
  out/lastschriften.xml out/sepa-alles.xml
xmllint --noout --schema out/sepa-xsd/pain.008.003.02.xsd out/sepa-lastschriften-b2b.xml
