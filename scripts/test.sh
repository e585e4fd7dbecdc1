#!/usr/bin/env bash
# Builds everything and runs the whole test suite, then the logic tests again under ASan and UBSan,
# then the Windows platform code built with MinGW-w64 under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKS_SANITIZE=ON -DKS_BUILD_APP=OFF -DKS_BUILD_BENCH=OFF
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"
bash scripts/wine-tests.sh
