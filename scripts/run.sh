#!/usr/bin/env bash
# Builds the program and opens it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
cmake --build build -j "$(nproc)" --target puerto-paralelo puerto-paralelo-demo
exec build/puerto-paralelo
