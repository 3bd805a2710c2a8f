#!/usr/bin/env bash
# The command-line tool end to end: writes N payments (default 1,000,000) from
# CSV with `zordta dtaus write`, reads the file back with `zordta dtaus read
# --verify`, and in the same run copies a file of the output's size with cp.
# Each step runs RUNS times (default 3); the medians of wall time and of peak
# resident memory (/usr/bin/time) are printed with the ratios to cp.
#
# The write and the read must each take at most 3 times as long as cp and sync
# of the file, the fair floor: the tool makes its output durable, cp
# alone does not. Each run of the two is preceded by such a copy, and the
# ratio to the median of those copies is printed as well: the machine's pace
# drifts within minutes, the disk's apart from the processors'. The write streams its records into the file as it books
# them: its peak memory must stay under 64 MiB, whatever the file's size.
#
# The same payments are written once more with a letter Windows-1252 lacks in
# every name: refusing them all must take at most 2 times as long as writing
# them (the ratio is printed), in constant memory for the faults (only the first
# are kept and printed).
#
# The same payments as SEPA credit transfers (`zordta sepa write`, IBANs made
# from the same accounts) must take at most 2 times as long as `dtaus write`,
# in constant memory (the ratio and the peak are printed).
#
# Payments to real bank codes (from ktoblzcheck's bank-code file) are written as
# a DTAUS file and converted to SEPA (`zordta sepa convert --standardregel`):
# at most 3 times as long as `dtaus read --verify` of that file, in constant
# memory. Their accounts are random, so most draw a warning.
#
# The library alone is measured the same way: a component that books the
# payments and finishes the file, and ImportDTA of that file. With
# LARGE_IMPORT=1 a file of 8,400,000 payments (2.15 GB) is written and imported
# once more, to show that the import's memory does not grow with the file.
#
#   bench/whole-process.sh [N]      ZORDTA_BENCH_BUILD=<tree> RUNS=<n> LARGE_IMPORT=1
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/common.sh

payments=${1:-1000000}
runs=${RUNS:-3}

bench_build cli/zordta zordta zordta_component_job
zordta=$(realpath "$build/cli/zordta")
component=$(realpath "$build/bench/zordta_component_job")

work=$(mktemp -d "${TMPDIR:-/tmp}/zordta-whole-XXXXXX")
trap 'rm -rf "$work"' EXIT
python3 bench/make_payments.py "$payments" "$work/payments.csv"
python3 bench/make_payments.py --sepa "$payments" "$work/sepa.csv"
sed '1!s/^"/"Ł/' "$work/payments.csv" >"$work/bad.csv"
# For the conversion to SEPA: bank codes of real banks, whose IBANs can be made.
banks=$(ls /usr/share/ktoblzcheck/blz_*.txt | sort | tail -n 1)
python3 bench/make_payments.py --banks "$banks" "$payments" "$work/convert.csv"
# The inputs on disk first: their writeback would otherwise fall into the first step.
sync

# Runs a command RUNS times; prints "median_seconds median_peak_kib". The
# command must exit with $expect_status (default 0). With $beside_copy set to a
# file, each run is preceded by cp + sync of that file, timed, and its median
# is printed third: a yardstick taken in the same minutes as the command, on a
# machine whose pace drifts.
measure() {
  local times=() peaks=() copies=() status
  for _ in $(seq "$runs"); do
    [ -n "${before_each:-}" ] && eval "$before_each"
    if [ -n "${beside_copy:-}" ]; then
      rm -f "$work/beside"
      /usr/bin/time -f "%e" -o "$work/time" \
        sh -c "cp '$beside_copy' '$work/beside' && sync '$work/beside'"
      copies+=("$(tail -n 1 "$work/time")")
      rm -f "$work/beside"
    fi
    status=0
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >"$work/log" 2>&1 || status=$?
    if [ "$status" -ne "${expect_status:-0}" ]; then
      cat "$work/log" >&2
      return 1
    fi
    # time puts "Command exited with non-zero status" first.
    read -r seconds peak < <(tail -n 1 "$work/time")
    times+=("$seconds") peaks+=("$peak")
  done
  printf '%s\n' "${times[@]}" | sort -g | awk '{a[NR]=$1} END {printf "%s ", a[int((NR+1)/2)]}'
  printf '%s\n' "${peaks[@]}" | sort -g | awk '{a[NR]=$1} END {printf "%s", a[int((NR+1)/2)]}'
  if [ -n "${beside_copy:-}" ]; then
    printf '%s\n' "${copies[@]}" | sort -g | awk '{a[NR]=$1} END {printf " %s", a[int((NR+1)/2)]}'
  fi
  echo
}

before_each="rm -f '$work/out/DTAUS0.TXT'"
mkdir -p "$work/out"
# The file the write makes, once beforehand: its copy is the write's yardstick.
"$zordta" dtaus write --csv "$work/payments.csv" --verzeichnis "$work/out" --dateiname ref.dta \
  --name "Zor Lohnbuero GmbH" --blz 37040044 --konto 532013000 --no-pdf --no-text >/dev/null 2>&1
beside_copy="$work/out/ref.dta" measure "$zordta" dtaus write --csv "$work/payments.csv" \
  --verzeichnis "$work/out" --name "Zor Lohnbuero GmbH" --blz 37040044 --konto 532013000 \
  --no-pdf --no-text >"$work/m"
read -r write_s write_kib write_copy_s <"$work/m"
rm -f "$work/out/ref.dta"
file="$work/out/DTAUS0.TXT"
size=$(stat -c %s "$file")

before_each="rm -f '$work/out/sepa-ueberweisungen.xml'"
measure "$zordta" sepa write --csv "$work/sepa.csv" \
  --verzeichnis "$work/out" --name "Zor Lohnbuero GmbH" --iban DE89370400440532013000 >"$work/m"
read -r sepa_s sepa_kib <"$work/m"

before_each=""
expect_status=1 measure "$zordta" dtaus write --csv "$work/bad.csv" \
  --verzeichnis "$work/out" --name "Zor Lohnbuero GmbH" --blz 37040044 --konto 532013000 \
  --no-pdf --no-text >"$work/m"
read -r bad_s bad_kib <"$work/m"
bad_lines=$(wc -l <"$work/log")

before_each=""
beside_copy="$file" measure "$zordta" dtaus read "$file" --verify >"$work/m"
read -r read_s read_kib read_copy_s <"$work/m"

# DTAUS to SEPA: the file is written once, then read with --verify and converted.
"$zordta" dtaus write --csv "$work/convert.csv" --verzeichnis "$work/out" --dateiname convert.dta \
  --name "Zor Lohnbuero GmbH" --blz 37040044 --konto 532013000 --no-pdf --no-text >/dev/null 2>&1
before_each=""
measure "$zordta" dtaus read "$work/out/convert.dta" --verify >"$work/m"
read -r convread_s _ <"$work/m"
before_each="rm -f '$work/out/convert.xml'"
measure "$zordta" sepa convert "$work/out/convert.dta" --verzeichnis "$work/out" --standardregel \
  >"$work/m"
read -r convert_s convert_kib <"$work/m"

before_each="rm -f '$work/copy'"
measure cp "$file" "$work/copy" >"$work/m"
read -r cp_s cp_kib <"$work/m"
measure sh -c "cp '$file' '$work/copy' && sync '$work/copy'" >"$work/m"
read -r cpsync_s _ <"$work/m"

before_each="rm -f '$work/lib/DTAUS0.TXT'"
mkdir -p "$work/lib"
measure "$component" write "$payments" "$work/lib/DTAUS0.TXT" >"$work/m"
read -r lib_write_s lib_write_kib <"$work/m"
before_each=""
measure "$component" import "$work/lib/DTAUS0.TXT" >"$work/m"
read -r lib_import_s lib_import_kib <"$work/m"

awk -v n="$payments" -v size="$size" -v runs="$runs" \
  -v ws="$write_s" -v wk="$write_kib" -v rs="$read_s" -v rk="$read_kib" \
  -v wcs="$write_copy_s" -v rcs="$read_copy_s" \
  -v ss="$sepa_s" -v sk="$sepa_kib" \
  -v vs="$convert_s" -v vk="$convert_kib" -v vr="$convread_s" \
  -v bs="$bad_s" -v bk="$bad_kib" -v bl="$bad_lines" \
  -v cs="$cp_s" -v ck="$cp_kib" -v css="$cpsync_s" \
  -v lws="$lib_write_s" -v lwk="$lib_write_kib" -v lis="$lib_import_s" -v lik="$lib_import_kib" 'BEGIN {
  mib = size / 1048576
  printf "%d payments, file %d bytes (%.1f MiB); medians of %d runs\n", n, size, mib, runs
  printf "%-26s %8s %10s %12s %10s\n", "step", "seconds", "x cp", "x cp+sync", "peak MiB"
  printf "%-26s %8.2f %10s %12s %10.1f\n", "cp", cs, "1.0", "", ck / 1024
  printf "%-26s %8.2f %10.1f %12s %10s\n", "cp + sync", css, css / cs, "1.0", ""
  printf "%-26s %8.2f %10.1f %12.1f %10.1f\n", "zordta dtaus write", ws, ws / cs, ws / css, wk / 1024
  printf "%-26s %8.2f %10.1f %12.1f %10.1f\n", "zordta sepa write", ss, ss / cs, ss / css, sk / 1024
  printf "%-26s %8.2f %10.1f %12.1f %10.1f\n", "zordta sepa convert", vs, vs / cs, vs / css, vk / 1024
  printf "%-26s %8.2f %10.1f %12.1f %10.1f\n", "zordta write, all rows bad", bs, bs / cs, bs / css, bk / 1024
  printf "%-26s %8.2f %10.1f %12.1f %10.1f\n", "zordta dtaus read --verify", rs, rs / cs, rs / css, rk / 1024
  printf "%-26s %8.2f %10.1f %12.1f %10.1f\n", "library: Buchung + Finish", lws, lws / cs, lws / css, lwk / 1024
  printf "%-26s %8.2f %10.1f %12.1f %10.1f\n", "library: ImportDTA", lis, lis / cs, lis / css, lik / 1024
  printf "peak memory / file size: zordta dtaus write %.2f, library writer %.2f\n", wk * 1024 / size, lwk * 1024 / size
  printf "C records per second: library writer %.0f, ImportDTA %.0f\n", n / lws, n / lis
  printf "dtaus write / (cp + sync): %.1f (at most 3), peak %.1f MiB (under 64); dtaus read --verify / (cp + sync): %.1f (at most 3)\n", ws / css, wk / 1024, rs / css
  printf "against cp + sync in the same runs: dtaus write %.1f (%.2f s against %.2f s), dtaus read --verify %.1f (%.2f s against %.2f s)\n", ws / wcs, ws, wcs, rs / rcs, rs, rcs
  printf "all rows bad / good write: %.2f (at most 2), %d lines printed, peak %.1f MiB (under 64)\n", bs / ws, bl, bk / 1024
  printf "sepa write / dtaus write: %.2f (at most 2), peak %.1f MiB (under 64)\n", ss / ws, sk / 1024
  printf "sepa convert / dtaus read --verify of its file (%.2f s): %.2f (at most 3), peak %.1f MiB (under 64)\n", vr, vs / vr, vk / 1024
}'

if [ -n "${LARGE_IMPORT:-}" ]; then
  large=8400000
  rm -rf "$work/lib"
  mkdir -p "$work/lib"
  "$component" write "$large" "$work/lib/DTAUS0.TXT" >/dev/null
  runs=1 measure "$component" import "$work/lib/DTAUS0.TXT" >"$work/m"
  read -r large_s large_kib <"$work/m"
  awk -v n="$large" -v size="$(stat -c %s "$work/lib/DTAUS0.TXT")" -v s="$large_s" -v k="$large_kib" \
    'BEGIN { printf "ImportDTA of %d payments (%.2f GB): %.2f s, %.0f records/s, peak %.1f MiB\n", n, size / 1e9, s, n / s, k / 1024 }'
fi
