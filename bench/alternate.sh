#!/usr/bin/env bash
# Two builds of the tool side by side: each step runs RUNS times (default 5),
# the builds taking turns, so a noisy moment on a shared machine hits both.
# Prints the median wall time and peak memory of each step for each build, and
# the ratio to cp + sync of the DTAUS file. Standard output goes to a file, as
# a listing of `dtaus read` would.
#
#   bench/alternate.sh BEFORE_TREE AFTER_TREE [N]      RUNS=<n>
# Each tree is a Release build folder with cli/zordta (bench/whole-process.sh
# makes one in build-bench).
set -euo pipefail
cd "$(dirname "$0")/.."

before=$(realpath "$1")
after=$(realpath "$2")
payments=${3:-1000000}
runs=${RUNS:-5}

work=$(mktemp -d "${TMPDIR:-/tmp}/zordta-alternate-XXXXXX")
trap 'rm -rf "$work"' EXIT
python3 bench/make_payments.py "$payments" "$work/payments.csv"
python3 bench/make_payments.py --sepa "$payments" "$work/sepa.csv"
banks=$(ls /usr/share/ktoblzcheck/blz_*.txt | sort | tail -n 1)
python3 bench/make_payments.py --banks "$banks" "$payments" "$work/convert.csv"
# The inputs on disk first: their writeback would otherwise fall into the first step.
sync
mkdir -p "$work/out"
client=(--name "Zor Lohnbuero GmbH" --blz 37040044 --konto 532013000 --no-pdf --no-text)
"$before/cli/zordta" dtaus write --csv "$work/payments.csv" --verzeichnis "$work/out" \
  --dateiname read.dta "${client[@]}" >/dev/null 2>&1
"$before/cli/zordta" dtaus write --csv "$work/convert.csv" --verzeichnis "$work/out" \
  --dateiname convert.dta "${client[@]}" >/dev/null 2>&1

# The command of a step for one tree, in `command`.
set_command() {
  local zordta=$2/cli/zordta
  case $1 in
    "dtaus write")
      command=("$zordta" dtaus write --csv "$work/payments.csv" --verzeichnis "$work/out"
        --dateiname written.dta --overwrite "${client[@]}") ;;
    "dtaus read --verify") command=("$zordta" dtaus read "$work/out/read.dta" --verify) ;;
    "sepa write")
      command=("$zordta" sepa write --csv "$work/sepa.csv" --verzeichnis "$work/out"
        --dateiname sepa.xml --overwrite --name "Zor Lohnbuero GmbH"
        --iban DE89370400440532013000) ;;
    "sepa convert")
      command=("$zordta" sepa convert "$work/out/convert.dta" --verzeichnis "$work/out"
        --dateiname convert.xml --overwrite --standardregel) ;;
    "cp + sync")
      command=(sh -c "cp '$work/out/read.dta' '$work/copy' && sync '$work/copy'") ;;
  esac
}
steps=("dtaus write" "dtaus read --verify" "sepa write" "sepa convert" "cp + sync")

: >"$work/results"
# The build that runs second in a pair gains from the first one's work (warm
# memory, a disk done writing back), so the order turns from run to run.
for run in $(seq "$runs"); do
  order=(before after)
  [ $((run % 2)) -eq 0 ] && order=(after before)
  for name in "${steps[@]}"; do
    for tree in "${order[@]}"; do
      set_command "$name" "${!tree}"
      /usr/bin/time -f "%e %M" -o "$work/time" "${command[@]}" >"$work/stdout" 2>"$work/log" || {
        cat "$work/log" "$work/time" >&2
        exit 1
      }
      echo "$name|$tree|$(tail -n 1 "$work/time")" >>"$work/results"
    done
  done
done

python3 - "$work/results" "$runs" "$payments" <<'PY'
import sys
sys.path.insert(0, "bench")
from medians import medians
steps = medians(sys.argv[1])
floor = {t: steps["cp + sync"][t][0] for t in ("before", "after")}
print(f"{sys.argv[3]} payments; medians of {sys.argv[2]} alternating runs")
print(f"{'step':<22} {'before s':>9} {'after s':>9} {'x cp+sync':>16} {'peak MiB':>16}")
for name, trees in steps.items():
    (b, bm), (a, am) = trees["before"], trees["after"]
    print(f"{name:<22} {b:>9.2f} {a:>9.2f} {b / floor['before']:>7.1f} -> {a / floor['after']:<6.1f}"
          f" {bm:>7.1f} -> {am:<6.1f}")
PY
