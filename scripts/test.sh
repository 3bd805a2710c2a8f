#!/usr/bin/env bash
# Checks the formatting, builds all three deliverables, the examples and the tests,
# runs every test (the golden files against their generators among them),
# then runs the same suite again in an AddressSanitizer + UndefinedBehaviorSanitizer
# build made with clang, the threads test in a ThreadSanitizer build, and fuzzes the
# import, the three checked readers, the conversion from DTAZV, the character filters,
# the IBAN check, the CSV reader and the job loader.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

echo "== formatting (clang-format 14)"
# Every C++ source of ours, tracked or new; build trees are ignored by git, and
# fuzz inputs are data.
git ls-files -z --cached --others --exclude-standard -- '*.cpp' '*.h' ':!:fuzz/corpus/**' |
  xargs -0 clang-format-14 --dry-run -Werror

# A private CUPS scheduler with a cups-pdf queue for the printer tests (they
# read CUPS_SERVER, ZORDTA_CUPS_QUEUE and ZORDTA_CUPS_PDF_DIR); stopped at exit.
cups_env=$(./scripts/start-cups.sh)
eval "$cups_env"
trap './scripts/start-cups.sh stop' EXIT

jobs=$(nproc)

# ccache spares a run on the same machine what an earlier one compiled: the three
# trees are most of this script's time. Paths count from the checkout, so another
# checkout of the same commit finds the same entries.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

echo "== build (g++, warnings as errors)"
# Line tables are debug information enough for a backtrace, and much cheaper to build.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
  -DCMAKE_CXX_COMPILER=g++ -DZORDTA_WERROR=ON "${launcher[@]}"
cmake --build build -j "$jobs"
echo "== tests"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== build (clang 14, ASan + UBSan, libFuzzer harnesses)"
# Line tables are all a sanitizer's backtrace needs. -O1 runs the suite about 40% faster
# but builds about a fifth slower, which takes back what the tests save.
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1" \
  -DCMAKE_CXX_COMPILER=clang++-14 -DZORDTA_WERROR=ON -DZORDTA_SANITIZE=ON -DZORDTA_FUZZ=ON \
  "${launcher[@]}"
cmake --build build-sanitize -j "$jobs"
echo "== tests under the sanitizers"
# ZorDTAPackage12 is linked from the very objects of ZorDTAPackage14, whose suite runs here.
# The account checks' agreement with the ktoblzcheck command is a cross-check of
# results, run in the plain build; the round trip takes 50 random jobs, not 200.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ZORDTA_RANDOM_JOBS=50 ctest --test-dir build-sanitize --output-on-failure -j "$jobs" \
  -E '^(ZorDTAPackage12|konto_check_agrees_with_ktoblzcheck)$'

# ThreadSanitizer needs a tree of its own; it builds only the threads test, to keep CI short.
echo "== build (clang 14, ThreadSanitizer, threads test only)"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
  -DCMAKE_CXX_COMPILER=clang++-14 -DZORDTA_WERROR=ON -DZORDTA_TSAN=ON -DZORDTA_BUILD_EXAMPLES=OFF \
  "${launcher[@]}"
cmake --build build-tsan -j "$jobs" --target tests_threads
echo "== threads test under ThreadSanitizer"
# clang 14's ThreadSanitizer cannot place its shadow memory when the kernel
# randomises mmap with more than 28 bits; run it without address randomisation then.
no_aslr=()
if [ "$(cat /proc/sys/vm/mmap_rnd_bits 2>/dev/null || echo 0)" -gt 28 ]; then
  no_aslr=(setarch "$(uname -m)" -R)
fi
TZ=America/New_York LC_ALL=C.UTF-8 TSAN_OPTIONS=halt_on_error=1 \
  "${no_aslr[@]}" ./build-tsan/tests/hardening/tests_threads

# New inputs go to a scratch folder; the seed corpora in the tree stay as they are.
# A fuzzer keeps one core busy: they run side by side, one per core, each for its
# full time, and their output is printed in order once all have ended.
fuzz() {
  local harness=$1 seconds=$2
  mkdir -p "build-sanitize/fuzz-corpus/${harness}"
  echo "== fuzzing ${harness} for ${seconds} seconds" >"build-sanitize/fuzz-${harness}.log"
  ASAN_OPTIONS=detect_leaks=1 \
    "./build-sanitize/fuzz/${harness}_fuzzer" -max_total_time="${seconds}" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 \
    "build-sanitize/fuzz-corpus/${harness}" "fuzz/corpus/${harness}" \
    >>"build-sanitize/fuzz-${harness}.log" 2>&1
}
export -f fuzz
harnesses=(
  import "${ZORDTA_FUZZ_SECONDS_IMPORT:-20}"
  dtaus_reader "${ZORDTA_FUZZ_SECONDS_IMPORT:-20}"
  dtazv_reader "${ZORDTA_FUZZ_SECONDS_IMPORT:-10}"
  dtazv_convert "${ZORDTA_FUZZ_SECONDS_IMPORT:-10}"
  sepa_reader "${ZORDTA_FUZZ_SECONDS_IMPORT:-20}"
  remove_invalid_chars "${ZORDTA_FUZZ_SECONDS:-30}"
  decode_chars "${ZORDTA_FUZZ_SECONDS:-30}"
  validate_iban "${ZORDTA_FUZZ_SECONDS:-30}"
  csv "${ZORDTA_FUZZ_SECONDS_CLI:-5}"
  job "${ZORDTA_FUZZ_SECONDS_CLI:-5}"
  sepa_csv "${ZORDTA_FUZZ_SECONDS_CLI:-5}"
)
fuzz_status=0
printf '%s\n' "${harnesses[@]}" | xargs -n 2 -P "$jobs" bash -c 'fuzz "$@"' fuzz || fuzz_status=$?
for ((i = 0; i < ${#harnesses[@]}; i += 2)); do
  cat "build-sanitize/fuzz-${harnesses[i]}.log"
done
exit "$fuzz_status"
