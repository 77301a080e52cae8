#!/usr/bin/env bash
# Builds the program with warnings as errors and runs every test, after a
# bounded run of the typed-byte fuzzer (clang, libFuzzer and sanitizers).
# No test touches a real I/O port.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh test
jobs=$(nproc)

CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPP_WERROR=ON -DPP_FUZZ=ON
cmake --build build-fuzz -j "$jobs" --target typed_byte_fuzz
ctest --test-dir build-fuzz -L fuzz --output-on-failure

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPP_WERROR=ON
cmake --build build-test -j "$jobs"
ctest --test-dir build-test --output-on-failure -j "$jobs"
