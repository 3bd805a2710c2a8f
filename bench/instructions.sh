#!/usr/bin/env bash
# Instructions per booking, counted by callgrind: steady where timings on a
# shared machine vary by a factor of two, so two builds can be compared. The
# count is the difference between N and 2N bookings (default N = 20,000), so
# loading and starting the run drop out. Page faults and cache misses are not
# counted; the timed benchmarks show those.
#
#   bench/instructions.sh [N]      ZORDTA_BENCH_BUILD=<tree>
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/common.sh

bookings=${1:-20000}
bench_build bench/zordta_component_job zordta_component_job
job=$(realpath "$build/bench/zordta_component_job")

count() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$job" book "$1" "$2" 2>&1 |
    awk '/Collected :/ {print $NF}'
}

for kind in dtaus dtazv; do
  once=$(count "$kind" "$bookings")
  twice=$(count "$kind" $((2 * bookings)))
  echo "$kind: $(((twice - once) / bookings)) instructions per booking"
done
