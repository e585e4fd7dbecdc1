#!/usr/bin/env bash
# Compares ks_durations' play times with the length ffmpeg decodes, file by file.
# Usage: bench/audio/compare_durations.sh FOLDER [KS_DURATIONS]
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 FOLDER [path/to/ks_durations]" >&2; exit 2; }
folder=$1
tool=${2:-$(dirname "$0")/../../build/bench/audio/ks_durations}
[ -x "$tool" ] || { echo "ks_durations not found at $tool (give its path as the second argument)" >&2; exit 2; }

"$tool" "$folder" | while IFS=$'\t' read -r file ms; do
  # The last progress line of a full decode holds the decoded length.
  t=$(ffmpeg -hide_banner -nostdin -i "$file" -f null - 2>&1 | tr '\r' '\n' | grep -o 'time=[0-9:.]*' | tail -1 || true)
  t=${t#time=}
  printf '%s\t%s\t%s\n' "$file" "$ms" "$t"
done | awk -F'\t' '
  {
    split($3, p, ":"); decoded = p[1] * 3600 + p[2] * 60 + p[3]
    ours = $2 / 1000; d = ours - decoded; ad = d < 0 ? -d : d
    printf "%-60s ours %9.3f s  ffmpeg %9.3f s  diff %+8.3f s%s\n", $1, ours, decoded, d, ad <= 1 ? "" : "  <-- over 1 s"
    n++; if (ad <= 1) ok++
    if (ad > worst) { worst = ad; worstFile = $1 }
  }
  END {
    printf "\n%d files, %d within 1 s of the decoded length\n", n, ok
    printf "worst difference %.3f s (%s)\n", worst, worstFile
  }'
