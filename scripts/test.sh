#!/usr/bin/env bash
# Builds the program with warnings as errors and runs every test.
# No test touches a real I/O port.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh test
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPP_WERROR=ON
cmake --build build-test -j "$(nproc)"
cd build-test
ctest --output-on-failure -j "$(nproc)"
