#!/usr/bin/env bash
# Runs a test on an X display of its own where openbox frames, places and stacks the windows, as on a
# user's desktop. Exits 77 (the test is skipped) only when one of the programs is not installed.
set -u
for tool in xvfb-run Xvfb openbox xprop; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"; exit 77; }
done
session='
  HOME=$(mktemp -d) openbox --sm-disable >/dev/null 2>&1 &
  wm=$!
  # The window manager announces itself on the root window once it manages windows; without it the
  # test would prove nothing (a display taken by another server at the same moment, on a shared machine).
  for _ in $(seq 300); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    kill -0 $wm 2>/dev/null || exit 75
    sleep 0.1
  done
  kill -0 $wm 2>/dev/null || exit 75
  "$@"
  rc=$?
  kill $wm 2>/dev/null
  wait $wm 2>/dev/null
  exit $rc'
for attempt in 1 2 3; do
  xvfb-run -a -s "-screen 0 1280x800x24" bash -c "$session" under-openbox "$@"
  rc=$?
  [ $rc -ne 75 ] && exit $rc
  echo "openbox did not start on the new display (attempt $attempt)" >&2
done
exit 1
