#!/usr/bin/env bash
# `zordta dtazv read` of a DTAZV file of N foreign payments (default 1,000,000),
# against `zordta dtaus read --verify` of a DTAUS file of the same number of
# domestic payments, in the same run and taking turns, each listing as JSON to
# a file: the DTAZV read must take at most 2 times as long. A DTAZV payment is a
# record of 768 bytes, three times a DTAUS payment's. The read's peak memory
# must not grow with the file, so a file of a tenth of the payments is read too.
# Both files are written by the tool from bench/make_payments.py's payments.
#
# Medians of RUNS runs (default 5) of wall time and peak resident memory
# (/usr/bin/time).
#
#   bench/dtazv-read.sh [N]      ZORDTA_BENCH_BUILD=<tree> RUNS=<n>
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/common.sh

payments=${1:-1000000}
runs=${RUNS:-5}

bench_build cli/zordta zordta
zordta=$(realpath "$build/cli/zordta")

work=$(mktemp -d "${TMPDIR:-/tmp}/zordta-dtazv-read-XXXXXX")
trap 'rm -rf "$work"' EXIT
small=$((payments / 10))
client=(--name "Muster GmbH" --blz 37040044 --konto 532013000 --no-text --no-pdf)
for size in large small; do
  n=$payments
  [ "$size" = small ] && n=$small
  python3 bench/make_payments.py "$n" "$work/$size-dtaus.csv"
  python3 bench/make_payments.py --dtazv "$n" "$work/$size-dtazv.csv"
  # The random bank codes draw a warning each.
  "$zordta" dtaus write --csv "$work/$size-dtaus.csv" "${client[@]}" --verzeichnis "$work" \
    --dateiname "$size.dtaus" >/dev/null 2>"$work/log" || { cat "$work/log" >&2; exit 1; }
  "$zordta" dtazv write --csv "$work/$size-dtazv.csv" "${client[@]}" --ort Berlin \
    --verzeichnis "$work" --dateiname "$size.dtazv" >/dev/null
done
sync

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
  for size in large small; do
    run "$size" dtaus sh -c "'$zordta' dtaus read '$work/$size.dtaus' >'$work/listing.json'"
    run "$size" dtazv sh -c "'$zordta' dtazv read '$work/$size.dtazv' >'$work/listing.json'"
  done
done

python3 - "$work/results" "$payments" "$small" "$runs" <<'PY'
import sys
sys.path.insert(0, "bench")
from medians import medians
results, payments, small, runs = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
m = medians(results)
print(f"JSON listings to a file; medians of {runs} runs, taking turns")
for step, n in (("large", payments), ("small", small)):
    (zv, zvm), (us, usm) = m[step]["dtazv"], m[step]["dtaus"]
    print(f"{n:>8} payments: zordta dtazv read {zv:.3f} s {zvm:5.1f} MiB | "
          f"dtaus read --verify {us:.3f} s {usm:5.1f} MiB | ratio {zv / us:.2f}"
          + (" (at most 2)" if step == "large" else ""))
print(f"peak memory of dtazv read, {payments} against {small} payments: "
      f"{m['large']['dtazv'][1]:.1f} against {m['small']['dtazv'][1]:.1f} MiB (constant)")
PY
