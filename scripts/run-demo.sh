#!/usr/bin/env bash
# Builds Kestrune and starts it on the bundled demo catalogue.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target kestrune
# Qt WebEngine refuses to start its sandbox as root, and software rendering needs no GPU.
if [ "$(id -u)" -eq 0 ]; then
  export QTWEBENGINE_DISABLE_SANDBOX="${QTWEBENGINE_DISABLE_SANDBOX:-1}"
  export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"
fi
# The program folder holds list.lst, main.lis and the demo's relative paths.
exec build/app/kestrune "$@"
