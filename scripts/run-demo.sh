#!/usr/bin/env bash
# Builds Kestrune and starts it on the bundled demo catalogue.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target kestrune
# The program folder holds list.lst, main.lis and the demo's relative paths.
exec build/app/kestrune "$@"
