#!/usr/bin/env bash
# Runs a test on an X display of its own where openbox frames, places and stacks the windows, as on a
# user's desktop. Exits 77 (the test is skipped) only when one of the programs is not installed.
set -u
for tool in xvfb-run Xvfb openbox xprop; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"; exit 77; }
done
exec xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  HOME=$(mktemp -d) openbox --sm-disable >/dev/null 2>&1 &
  wm=$!
  # The window manager announces itself on the root window once it manages windows.
  for _ in $(seq 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
  done
  "$@"
  rc=$?
  kill $wm 2>/dev/null
  wait $wm 2>/dev/null
  exit $rc' under-openbox "$@"
