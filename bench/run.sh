#!/usr/bin/env bash
# Builds the benchmarks (Release) and runs them: the program's own work with
# Google Benchmark, then start-up time and memory against a bare Qt window.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh bench
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DPP_BENCH=ON -DBUILD_TESTING=OFF
cmake --build build-bench -j "$(nproc)"
build-bench/bench/core_bench
bash bench/startup.sh build-bench 20
