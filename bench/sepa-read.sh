#!/usr/bin/env bash
# `zordta sepa read` of a file that another producer wrote: the SEPA generator
# of Debian's libhbci4j-core-java (bench/peer/PainGenerate.java) writes N credit
# transfers (default 100,000) as pain.001.001.09, and the tool reads the file and
# writes its JSON listing to a file. Against it, in the same run and taking
# turns, one streaming pass of libxml2 over the same file (`xmllint --stream
# --noout`): the read must take at most 2 times as long. Its peak memory must
# not grow with the file, so a file of a tenth of the payments is read too.
#
# Medians of RUNS runs (default 5) of wall time and peak resident memory
# (/usr/bin/time). The instructions of one read of a file of 10,000 payments
# (callgrind), of the tool and of xmllint, come with CALLGRIND=1: steadier than
# the clock on a shared machine.
#
#   bench/sepa-read.sh [N]      ZORDTA_BENCH_BUILD=<tree> RUNS=<n> CALLGRIND=1
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/common.sh

payments=${1:-100000}
runs=${RUNS:-5}

bench_build cli/zordta zordta
zordta=$(realpath "$build/cli/zordta")

work=$(mktemp -d "${TMPDIR:-/tmp}/zordta-sepa-read-XXXXXX")
trap 'rm -rf "$work"' EXIT
classpath=$(peer_classpath "$work")
javac -Xlint:all,-path -Werror -cp "$classpath" -d "$work" bench/peer/PainGenerate.java
small=$((payments / 10))
java -cp "$classpath" PainGenerate 001 "$payments" "$work/large.xml"
java -cp "$classpath" PainGenerate 001 "$small" "$work/small.xml"
sync

# The file must be read whole, or the figures say nothing.
for file in large small; do
  "$zordta" sepa read "$work/$file.xml" >"$work/listing.json" 2>"$work/log" || {
    echo "zordta sepa read refuses the generated $file.xml:" >&2
    cat "$work/log" >&2
    exit 1
  }
done

run() {  # step, variant, command...: appends "step|variant|seconds kib"
  local step=$1 variant=$2
  shift 2
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>"$work/log" || {
    cat "$work/log" >&2
    exit 1
  }
  echo "$step|$variant|$(tail -n 1 "$work/time")" >>"$work/results"
}

: >"$work/results"
for _ in $(seq "$runs"); do
  for file in large small; do
    run "$file" xmllint xmllint --stream --noout "$work/$file.xml"
    run "$file" zordta sh -c "'$zordta' sepa read '$work/$file.xml' >'$work/listing.json'"
  done
done

python3 - "$work/results" "$payments" "$small" "$runs" "$(stat -c %s "$work/large.xml")" <<'PY'
import sys
sys.path.insert(0, "bench")
from medians import medians
results, payments, small, runs, size = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4], int(sys.argv[5])
m = medians(results)
print(f"pain.001.001.09 of another producer, {payments} payments ({size / 1048576:.1f} MiB); "
      f"medians of {runs} runs, taking turns")
for step, n in (("large", payments), ("small", small)):
    (z, zm), (x, xm) = m[step]["zordta"], m[step]["xmllint"]
    print(f"{n:>7} payments: zordta sepa read {z:.3f} s {zm:5.1f} MiB | "
          f"xmllint --stream {x:.3f} s {xm:5.1f} MiB | ratio {z / x:.2f}"
          + (" (at most 2)" if step == "large" else ""))
print(f"peak memory of the read, {payments} against {small} payments: "
      f"{m['large']['zordta'][1]:.1f} against {m['small']['zordta'][1]:.1f} MiB (constant)")
PY

if [ -n "${CALLGRIND:-}" ]; then
  # Instructions, the same measure for both, and steady on a busy machine.
  java -cp "$classpath" PainGenerate 001 10000 "$work/counted.xml"
  valgrind --tool=callgrind --callgrind-out-file="$work/zordta.out" \
    "$zordta" sepa read "$work/counted.xml" >"$work/listing.json" 2>"$work/log"
  valgrind --tool=callgrind --callgrind-out-file="$work/xmllint.out" \
    xmllint --stream --noout "$work/counted.xml" 2>"$work/log"
  z=$(awk '/^summary:/ { print $2 }' "$work/zordta.out")
  x=$(awk '/^summary:/ { print $2 }' "$work/xmllint.out")
  awk -v z="$z" -v x="$x" 'BEGIN { printf "callgrind, 10000 payments: zordta %d instructions (%d a payment), xmllint --stream %d; ratio %.2f (at most 2)\n", z, z / 10000, x, z / x }'
fi
