#!/usr/bin/env bash
# Installs the Debian packages needed to build, test and run Kestrune.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-webengine-dev libqt6opengl6-dev qt6-translations-l10n
  libjpeg62-turbo-dev libgif-dev libtag1-dev libbenchmark-dev
  xvfb xauth lame ffmpeg dbus-daemon xdg-utils shared-mime-info
  librsvg2-bin dpkg-dev lintian desktop-file-utils appstream xdotool openbox x11-utils libxcb1-dev
  libfile-mimeinfo-perl
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-win32 wine wine64)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
