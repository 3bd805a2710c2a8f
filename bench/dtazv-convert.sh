#!/usr/bin/env bash
# `zordta sepa convert` of a DTAZV file, writing its pain.001.001.09 documents
# into a scratch folder, against `zordta dtazv read` of the same file listing
# it as JSON to a file, in the same run and taking turns: the conversion must
# take at most 3 times as long. The file has N payments (default 100,000):
# half in euro to a SEPA country, half in dollars to the USA, every fifth of
# those with a W report; it is converted with an execution date a few days
# ahead, so that every payment is taken.
#
# Medians of RUNS runs (default 5) of wall time and peak resident memory
# (/usr/bin/time). The instructions of both on a file of 10,000 payments
# (callgrind) come with CALLGRIND=1: steadier than the clock on a shared machine.
#
#   bench/dtazv-convert.sh [N]      ZORDTA_BENCH_BUILD=<tree> RUNS=<n> CALLGRIND=1
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/common.sh

payments=${1:-100000}
runs=${RUNS:-5}

bench_build cli/zordta zordta
zordta=$(realpath "$build/cli/zordta")

work=$(mktemp -d "${TMPDIR:-/tmp}/zordta-dtazv-convert-XXXXXX")
trap 'rm -rf "$work"' EXIT

make_file() {  # payments, path
  python3 - "$1" "$2" <<'PY'
import sys
n, path = int(sys.argv[1]), sys.argv[2]
def a(t, w): return t[:w].ljust(w, b" ")
def num(v, d): return b"%0*d" % (d, v)
out = open(path, "wb")
out.write(b"0256Q" + num(50010517, 8) + num(1234567890, 10) + a(b"EXPORT AG", 35) + a(b"", 35)
          + a(b"KAISERSTR. 1", 35) + a(b"FRANKFURT", 35) + b"990101" + b"01" + b"990102" + b"N"
          + b"06" + num(4711, 8) + b" " * 68)
units = 0
for i in range(n):
    sepa = i % 2 == 0
    report = not sepa and i % 10 == 1
    country, account, cur, bic = ((b"FR", b"FR7630006000011234567890189", b"EUR", b"BNPAFRPPXXX")
                                  if sepa else (b"US", b"000123456789", b"USD", b"CHASUS33XXX"))
    r = b"0768T" + num(50010517, 8) + b"EUR" + num(1234567890, 10) + b"990102"
    r += b"00000000" + b"   " + b"0000000000" + a(bic, 11) + b"   " + b" " * 140
    r += country + b" " + a(b"PAYEE %d" % i, 35) + a(b"", 35) + a(b"1 MAIN STREET", 35)
    r += a(b"SOMETOWN", 35) + b" " * 70 + b"/" + a(account, 34) + cur
    r += num(100 + i % 1000, 14) + b"50" + b"0" + a(b"INVOICE %d" % i, 35) + b" " * 105
    r += b"00000000" + b" " * 25 + b"00" + b"00" + b" " * 27 + b" " * 35
    r += (b"1" if report else b"0") + b" " * 51 + (b"01" if report else b"00")
    out.write(r)
    if report:
        out.write(b"0256W" + a(b"2521 BERATUNG US 0000000000100", 251))
    units += 100 + i % 1000
out.write(b"0256Z" + num(units, 15) + num(n, 15) + b" " * 221)
PY
}
make_file "$payments" "$work/file.dtazv"
sync

export TZ=UTC LC_ALL=C.UTF-8
mkdir "$work/out"
convert=("$zordta" sepa convert "$work/file.dtazv" --iban DE89370400440532013000
  --bic COBADEFFXXX --ausfuehrung "$(date -d '+5 days' +%F)" --verzeichnis "$work/out"
  --overwrite)
# Both must take the whole file, or the figures say nothing.
"${convert[@]}" >"$work/log" 2>&1 || { cat "$work/log" >&2; exit 1; }
"$zordta" dtazv read "$work/file.dtazv" >"$work/listing.json" 2>"$work/log" || {
  cat "$work/log" >&2
  exit 1
}

run() {  # variant, command...: appends "step|variant|seconds kib"
  local variant=$1
  shift
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>"$work/log" || {
    cat "$work/log" >&2
    exit 1
  }
  echo "file|$variant|$(tail -n 1 "$work/time")" >>"$work/results"
}

: >"$work/results"
for _ in $(seq "$runs"); do
  run read sh -c "'$zordta' dtazv read '$work/file.dtazv' >'$work/listing.json'"
  run convert "${convert[@]}"
done

python3 - "$work/results" "$payments" "$runs" "$(stat -c %s "$work/file.dtazv")" <<'PY'
import sys
sys.path.insert(0, "bench")
from medians import medians
results, payments, runs, size = sys.argv[1], int(sys.argv[2]), sys.argv[3], int(sys.argv[4])
(c, cm), (r, rm) = medians(results)["file"]["convert"], medians(results)["file"]["read"]
print(f"DTAZV file of {payments} payments ({size / 1048576:.1f} MiB); medians of {runs} runs, "
      f"taking turns")
print(f"zordta sepa convert {c:.3f} s {cm:5.1f} MiB | dtazv read {r:.3f} s {rm:5.1f} MiB | "
      f"ratio {c / max(r, 0.001):.2f} (at most 3)")
PY

if [ -n "${CALLGRIND:-}" ]; then
  # Instructions, the same measure for both, and steady on a busy machine.
  counted=10000
  make_file "$counted" "$work/file.dtazv"
  valgrind --tool=callgrind --callgrind-out-file="$work/convert.out" \
    "${convert[@]}" >/dev/null 2>"$work/log"
  valgrind --tool=callgrind --callgrind-out-file="$work/read.out" \
    "$zordta" dtazv read "$work/file.dtazv" >"$work/listing.json" 2>"$work/log"
  c=$(awk '/^summary:/ { print $2 }' "$work/convert.out")
  r=$(awk '/^summary:/ { print $2 }' "$work/read.out")
  awk -v c="$c" -v r="$r" -v n="$counted" 'BEGIN { printf "callgrind, %d payments: sepa convert %d instructions (%d a payment), dtazv read %d (%d a payment); ratio %.2f (at most 3)\n", n, c, c / n, r, r / n, c / r }'
fi
