#!/usr/bin/env bash
# The conversion of a DTAZV file into pain.001.001.09 against one checked
# reading of the same file: a file of N payments (default 100,000; half in
# euro to SEPA countries, half foreign, every tenth with a W report) is read
# with zor::DtazvReader and converted with zor::ConvertDtazvToSepa, taking
# turns, by the small program bench/dtazv_convert.cpp linked against the
# library of a built tree. The conversion must take at most 3 times as long.
# Medians of RUNS runs (default 5) of wall time and peak resident memory.
#
#   bench/dtazv-convert.sh [N]      ZORDTA_BENCH_BUILD=<tree, default build> RUNS=<n>
set -euo pipefail
cd "$(dirname "$0")/.."

payments=${1:-100000}
runs=${RUNS:-5}
build=${ZORDTA_BENCH_BUILD:-build}
library=$(find "$build/src" -maxdepth 1 -name 'libZorDTAPackage14.so*' | head -n 1)
[ -n "$library" ] || { echo "no libZorDTAPackage14.so in $build/src: build the tree first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O2 -DZORDTA_WIDE_STRINGS=1 -Iinclude bench/dtazv_convert.cpp \
  -o "$work/dtazv_convert" "$library" -Wl,-rpath,"$(dirname "$(realpath "$library")")"

python3 - "$payments" "$work/file.dtazv" <<'PY'
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

export TZ=UTC LC_ALL=C.UTF-8
measure() {  # prints "seconds kib" of one run
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null
  cat "$work/time"
}
: >"$work/read"; : >"$work/convert"
for _ in $(seq "$runs"); do
  measure "$work/dtazv_convert" read "$work/file.dtazv" >>"$work/read"
  measure "$work/dtazv_convert" convert "$work/file.dtazv" "$work" >>"$work/convert"
done
median() { sort -n -k"$2" "$1" | awk -v k="$2" '{v[NR]=$k} END {print v[int((NR+1)/2)]}'; }
read_s=$(median "$work/read" 1); convert_s=$(median "$work/convert" 1)
echo "payments: $payments, runs: $runs"
echo "read:    $read_s s, $(median "$work/read" 2) KiB"
echo "convert: $convert_s s, $(median "$work/convert" 2) KiB"
python3 -c "import sys; r=float(sys.argv[2])/max(float(sys.argv[1]),0.001); print(f'ratio:   {r:.2f} (limit 3)'); sys.exit(0 if r <= 3 else 1)" "$read_s" "$convert_s"
