#!/usr/bin/env bash
# Builds all three deliverables, the examples and the tests, runs every test,
# then runs the same suite again in an AddressSanitizer + UndefinedBehaviorSanitizer
# build made with clang, and fuzzes the import for a minute.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

jobs=$(nproc)

echo "== build (g++, warnings as errors)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=g++ -DZORDTA_WERROR=ON
cmake --build build -j "$jobs"
echo "== tests"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== build (clang 14, ASan + UBSan, libFuzzer harnesses)"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=clang++-14 -DZORDTA_WERROR=ON -DZORDTA_SANITIZE=ON -DZORDTA_FUZZ=ON
cmake --build build-sanitize -j "$jobs"
echo "== tests under the sanitizers"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

echo "== fuzzing the import for ${ZORDTA_FUZZ_SECONDS:-60} seconds"
# New inputs go to a scratch folder; the seed corpus in the tree stays as it is.
mkdir -p build-sanitize/fuzz-corpus/import
ASAN_OPTIONS=detect_leaks=1 \
  ./build-sanitize/fuzz/import_fuzzer -max_total_time="${ZORDTA_FUZZ_SECONDS:-60}" -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 build-sanitize/fuzz-corpus/import fuzz/corpus/import
