#!/usr/bin/env bash
# Builds the Windows platform code with MinGW-w64 and runs its tests under Wine, headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S tests/wine -B build-wine -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/tests/wine/mingw-w64.cmake"
cmake --build build-wine -j "$(nproc)"

# Their Qt side has no Qt for Windows here: type-checked only, against Debian's Qt headers.
for f in playback/winamp.cpp widgets/platform/ShellOpen_win.cpp catalogue/Paths_win.cpp audio/FileStamp.cpp \
  settings/FileAssociation_win.cpp catalogue/SafeSave_win.cpp app/Console_win.cpp audio/FileAccess_win.cpp \
  catalogue/DirectoryScan_win.cpp; do
  x86_64-w64-mingw32-g++ -std=c++17 -fsyntax-only -Wall -Wextra -DQT_NO_CAST_FROM_ASCII -DQT_NO_CAST_TO_ASCII \
    $(pkg-config --cflags Qt6Core) -Iplayback -Iwidgets/platform -Icatalogue -Iaudio -Isettings -Iapp "$f"
done

# A throwaway prefix without a display: the null graphics driver, no Mono or Gecko installers.
# Local time three hours east of UTC, so that file stamps show the conversion to local time.
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" TZ=MSK-3
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX" "$WINEPREFIX.log"' EXIT
log="$WINEPREFIX.log"
if ! { timeout 120 wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f &&
  timeout 60 wineserver -w; } >"$log" 2>&1; then
  cat "$log"
  echo "Wine prefix set-up failed" >&2
  exit 1
fi
timeout -k 10 300 wine build-wine/test_win32.exe
