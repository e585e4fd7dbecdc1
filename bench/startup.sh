#!/usr/bin/env bash
# Start-up time and memory of the program on the demo list, with either tab in front, on a virtual display.
# Usage: bench/startup.sh [--binary build/app/kestrune] [--runs 5]
set -euo pipefail
cd "$(dirname "$0")/.."
exec xvfb-run -a -s "-screen 0 1280x800x24" python3 bench/startup.py "$@"
