#!/usr/bin/env bash
# The whole process against the Java peer, Debian's libhbci4j-core-java, JVM
# start included, at N payments (default 100,000) to real bank codes (the main
# records of ktoblzcheck's bank-code file, so the tool checks real accounts):
#   - DTAUS write and read: the peer's DTAUS classes (bench/peer/DtausPeer.java)
#     and the tool write the same CSV as a durable file and read that file back
#     into a listing;
#   - SEPA write: the peer's SEPA generator and `zordta sepa write` write the
#     same payments as a durable pain.001.001.09 (bench/peer/SepaPeer.java);
#   - SEPA read: the peer's SEPA parser (three fields a payment into a listing)
#     and `zordta sepa read` (its JSON into a file) read the peer's document;
#     one streaming pass of libxml2 over it (`xmllint --stream --noout`) is
#     measured beside them.
# Each step runs RUNS times (default 5), taking turns; medians of wall time and
# peak memory. Targets: DTAUS write and read and SEPA write at least 10 times
# faster than the peer; SEPA read at least 3 times faster than the peer's
# parser and at most 2 times one xmllint pass.
#
#   bench/peer.sh [N]      ZORDTA_BENCH_BUILD=<tree> RUNS=<n>
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/common.sh

payments=${1:-100000}
runs=${RUNS:-5}

bench_build cli/zordta zordta
zordta=$(realpath "$build/cli/zordta")

work=$(mktemp -d "${TMPDIR:-/tmp}/zordta-peer-XXXXXX")
trap 'rm -rf "$work"' EXIT
classpath=$(peer_classpath "$work")
javac -Xlint:all,-path -Werror -cp "$classpath" -d "$work" bench/peer/DtausPeer.java \
  bench/peer/SepaPeer.java
banks=$(ls /usr/share/ktoblzcheck/blz_*.txt | sort | tail -n 1)
python3 bench/make_payments.py --banks "$banks" "$payments" "$work/payments.csv"
python3 bench/make_payments.py --banks "$banks" --sepa "$payments" "$work/sepa.csv"
# The peer's document, which both read.
java -cp "$classpath" SepaPeer write "$work/sepa.csv" "$work/peer-read.xml"
sync

run() {  # step, tool, command...: appends "step|tool|seconds kib"
  local step=$1 tool=$2
  shift 2
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>"$work/log" || {
    cat "$work/log" >&2
    exit 1
  }
  echo "$step|$tool|$(tail -n 1 "$work/time")" >>"$work/results"
}

: >"$work/results"
for i in $(seq "$runs"); do
  rm -f "$work/zordta.dta" "$work/peer.dta" "$work/zordta.xml" "$work/peer.xml"
  run "dtaus write" zordta "$zordta" dtaus write --csv "$work/payments.csv" --verzeichnis "$work" \
    --dateiname zordta.dta --name "Zor Lohnbuero GmbH" --blz 37040044 --konto 532013000 \
    --no-pdf --no-text
  run "dtaus write" peer java -cp "$classpath" DtausPeer write "$work/payments.csv" "$work/peer.dta"
  run "dtaus read" zordta sh -c "'$zordta' dtaus read '$work/zordta.dta' --verify >'$work/listing.json'"
  run "dtaus read" peer java -cp "$classpath" DtausPeer read "$work/zordta.dta" "$work/listing.txt"
  run "sepa write" zordta "$zordta" sepa write --csv "$work/sepa.csv" --verzeichnis "$work" \
    --dateiname zordta.xml --name "Zor Lohnbuero GmbH" --iban DE89370400440532013000
  run "sepa write" peer java -cp "$classpath" SepaPeer write "$work/sepa.csv" "$work/peer.xml"
  run "sepa read" zordta sh -c "'$zordta' sepa read '$work/peer-read.xml' >'$work/listing.json'"
  run "sepa read" peer java -cp "$classpath" SepaPeer read "$work/peer-read.xml" "$work/listing.txt"
  run "sepa read" xmllint xmllint --stream --noout "$work/peer-read.xml"
done

python3 - "$work/results" "$payments" "$runs" <<'PY'
import sys
sys.path.insert(0, "bench")
from medians import medians
print(f"{sys.argv[2]} payments to real bank codes; medians of {sys.argv[3]} runs, taking turns")
for step, tools in medians(sys.argv[1]).items():
    (z, zm), (p, pm) = tools["zordta"], tools["peer"]
    target = 3 if step == "sepa read" else 10
    print(f"{step:<11} zordta {z:.3f} s {zm:6.1f} MiB | peer {p:.3f} s {pm:6.1f} MiB"
          f" | {p / z:.1f} x faster (at least {target}), {pm / zm:.1f} x less memory")
    if "xmllint" in tools:
        x = tools["xmllint"][0]
        print(f"{'':<11} xmllint --stream {x:.3f} s | zordta / xmllint {z / x:.2f} (at most 2)")
PY
