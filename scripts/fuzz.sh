#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer and runs each for a while (seconds, default 30).
# Prints each target's executions per second; exits non-zero when a target finds a failing input.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
bash scripts/install-deps.sh
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DKS_FUZZ=ON -DKS_BUILD_APP=OFF -DKS_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)"
corpus=build-fuzz/corpus
rm -rf "$corpus"
build-fuzz/fuzz/fuzz_seeds "$corpus"
export QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
status=0
for target in fuzz_textcodec fuzz_loadlist fuzz_listedits; do
  log="build-fuzz/$target.log"
  mkdir -p "build-fuzz/findings/$target"
  if build-fuzz/fuzz/$target -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=4096 \
      -artifact_prefix="build-fuzz/findings/$target/" "$corpus/$target" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
    tail -n 40 "$log"
  fi
  stats=$(grep -E '^(#[0-9]+\s+DONE|Done [0-9]+ runs)' "$log" | tail -n 2 | tr '\n' ' ')
  echo "$target: $result; $stats"
done
exit $status
