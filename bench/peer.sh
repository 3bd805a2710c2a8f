#!/usr/bin/env bash
# The whole process against a Java peer: the DTAUS classes of Debian's
# libhbci4j-core-java (bench/peer/DtausPeer.java), JVM start included, and the
# tool, both writing N payments (default 100,000) from the same CSV as a
# durable DTAUS file and reading that file back into a listing. The steps run
# RUNS times (default 5), tool and peer taking turns; medians of wall time and
# peak memory, and how many times faster and leaner the tool is. This peer is
# the one Java implementation that Debian ships, not the fastest there is: it
# takes about 20 s for 100,000 payments either way.
#
#   bench/peer.sh [N]      ZORDTA_BENCH_BUILD=<tree> RUNS=<n>
set -euo pipefail
cd "$(dirname "$0")/.."

payments=${1:-100000}
runs=${RUNS:-5}
zordta=$(realpath "${ZORDTA_BENCH_BUILD:-build-bench}/cli/zordta")
jar=/usr/share/java/hbci4j-core.jar
[ -f "$jar" ] || { echo "needs $jar (apt-get install libhbci4j-core-java)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/zordta-peer-XXXXXX")
trap 'rm -rf "$work"' EXIT
javac -cp "$jar" -d "$work" bench/peer/DtausPeer.java
python3 bench/make_payments.py "$payments" "$work/payments.csv"
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
  rm -f "$work/zordta.dta" "$work/peer.dta"
  run write zordta "$zordta" dtaus write --csv "$work/payments.csv" --verzeichnis "$work" \
    --dateiname zordta.dta --name "Zor Lohnbuero GmbH" --blz 37040044 --konto 532013000 \
    --no-pdf --no-text
  run write peer java -cp "$jar:$work" DtausPeer write "$work/payments.csv" "$work/peer.dta"
  run read zordta sh -c "'$zordta' dtaus read '$work/zordta.dta' --verify >'$work/listing.json'"
  run read peer java -cp "$jar:$work" DtausPeer read "$work/zordta.dta" "$work/listing.txt"
done

python3 - "$work/results" "$payments" "$runs" <<'PY'
import sys
sys.path.insert(0, "bench")
from medians import medians
print(f"{sys.argv[2]} payments; medians of {sys.argv[3]} runs, taking turns")
for step, tools in medians(sys.argv[1]).items():
    (z, zm), (p, pm) = tools["zordta"], tools["peer"]
    print(f"{step:<6} zordta {z:.3f} s {zm:6.1f} MiB | peer {p:.3f} s {pm:6.1f} MiB"
          f" | {p / z:.1f} x faster, {pm / zm:.1f} x less memory (target at least 10 x faster)")
PY
