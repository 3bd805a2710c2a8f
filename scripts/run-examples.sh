#!/usr/bin/env bash
# Builds the library and writes a credit-transfer file and a direct-debit file
# from the sample data in examples/data into out/, printing their control figures.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=g++
cmake --build build -j "$(nproc)" --target write_payment_files
mkdir -p out
./build/examples/write_payment_files examples/data out
