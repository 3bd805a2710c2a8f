#!/usr/bin/env bash
# The library's micro benchmarks, each repeated (default 5 times), with medians.
# The bookings are set beside the bare record-assembly limit measured in the
# same run: DTAUS_Buchung must reach 60 % of Limit_CRecordAssembly, DTAZV_Buchung
# 2 M bookings per second. The limit is given twice: in fresh memory, as a
# program writing one file meets it (and as the limit was first defined), and in
# memory kept from run to run, as the booking benchmarks meet it after their
# first repetition; the second is the strict yardstick.
#
#   bench/run-benchmarks.sh [FILTER]      ZORDTA_BENCH_BUILD=<tree> REPETITIONS=<n>
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/common.sh

filter=${1:-.}
repetitions=${REPETITIONS:-5}
bench_build bench/zordta_bench zordta_bench

out=$(mktemp); log=$(mktemp); trap 'rm -f "$out" "$log"' EXIT
# The limit and both bookings always run, whatever the filter, for the ratios.
"$build/bench/zordta_bench" --benchmark_filter="$filter|^Limit_|^DTAUS_Buchung|^DTAZV_Buchung" \
  --benchmark_repetitions="$repetitions" \
  --benchmark_report_aggregates_only=true --benchmark_out="$out" --benchmark_out_format=json \
  >"$log" 2>&1 || { cat "$log" >&2; exit 1; }

python3 - "$out" "$repetitions" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
medians = {r["run_name"]: r for r in runs if r.get("aggregate_name") == "median"}
print(f"medians of {sys.argv[2]} repetitions")
print(f"{'benchmark':<34} {'CPU time':>12} {'items/s':>12}")
for name, r in medians.items():
    rate = r.get("items_per_second")
    print(f"{name:<34} {r['cpu_time']:>9.1f} {r['time_unit']:<2} "
          f"{(f'{rate / 1e6:.2f} M' if rate else ''):>12}")
def rate(name):
    return medians[name]["items_per_second"]
fresh, kept = rate("Limit_CRecordAssembly/0"), rate("Limit_CRecordAssembly/1")
dtaus, dtazv = rate("DTAUS_Buchung"), rate("DTAZV_Buchung")
print(f"DTAUS_Buchung / limit in fresh memory: {dtaus / fresh:.0%} ({dtaus / 1e6:.2f} of {fresh / 1e6:.2f} M/s; target at least 60 %)")
print(f"DTAUS_Buchung / limit in kept memory: {dtaus / kept:.0%} (of {kept / 1e6:.2f} M/s)")
print(f"DTAZV_Buchung: {dtazv / 1e6:.2f} M/s (target at least 2 M/s)")
PY
