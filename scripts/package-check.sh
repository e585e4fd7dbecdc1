#!/usr/bin/env bash
# Checks the installed program and the Debian package made from build/ (run scripts/test.sh first):
#  1. installs into a temporary tree (DESTDIR), validates the desktop entry and the AppStream file;
#  2. runs the installed program as a user who cannot write its folder (root runs it as "nobody":
#     root may write anywhere), under Xvfb with openbox, with a new HOME: the demo must appear in the
#     user's data folder, Shift+Del on the first album must save the list there, closing the window
#     must write ks.ini there, a second start must keep the edited list, and the installed tree must
#     not change;
#  3. builds the package with CPack and runs lintian on it, and lets apt resolve its dependencies.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --build build -j "$(nproc)"

work=$(mktemp -d)
cleanup() { chmod -R u+w "$work" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
chmod 755 "$work"
fail() { echo "package-check: $*" >&2; exit 1; }

# ---- 1. the installation ---------------------------------------------------------------------------
root="$work/root"
DESTDIR="$root" cmake --install build --prefix /usr >/dev/null
desktop-file-validate "$root/usr/share/applications/kestrune.desktop"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/org.example.kestrune.metainfo.xml"
skel="$root/usr/share/kestrune/skel"
[ -f "$skel/list.lst" ] && [ -f "$skel/main.lis" ] && [ -f "$skel/demo/second.lst" ] || fail "no demo in $skel"

# ---- 2. the installed program for a new user -----------------------------------------------------
chmod -R a-w "$root"
manifest() { (cd "$root" && find . -printf '%p %y %m %s\n' | sort && find . -type f -exec sha256sum {} + | sort); }
manifest >"$work/before"

home="$work/home"
mkdir -p "$home"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody:nogroup "$home"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
"${as_user[@]}" test -w "$root/usr/bin" && fail "the user can write the program's folder; nothing would be proved"

data="$home/.local/share/Kestrune"
first_album=$(printf 'album: Зимние акварели' | iconv -f UTF-8 -t CP1251)
second_album='album: Harbour Lights'

cat >"$work/session.sh" <<'EOF'
#!/usr/bin/env bash
# One session on the new display: start, delete the first album, close; start again, close.
set -euo pipefail
program=$1 data=$2 skel=$3 logs=$4
openbox >/dev/null 2>&1 &
sleep 1
window_of() { # the main window of the program with that process id, once it is shown
  for _ in $(seq 240); do
    w=$(xdotool search --onlyvisible --pid "$1" --name '^Kestrune v' 2>/dev/null | head -n 1 || true)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.5
  done
  return 1
}
close() { # Alt+F4 through the window manager: the window closes as the user closes it
  xdotool windowactivate --sync "$2" key --clearmodifiers alt+F4
  for _ in $(seq 120); do kill -0 "$1" 2>/dev/null || { wait "$1"; return; }; sleep 0.5; done
  echo "the program did not close" >&2; return 1
}

"$program" >"$logs/first.log" 2>&1 &
pid=$!
win=$(window_of $pid) || { echo "no window" >&2; exit 1; }
sleep 3 # the first paint loads the list and selects its first album
xdotool windowactivate --sync "$win" key --clearmodifiers shift+Delete
for i in $(seq 180); do
  cmp -s "$data/list.lst" "$skel/list.lst" || break
  # A key that came before the list was loaded did nothing: once more every 10 s.
  [ $((i % 20)) -eq 0 ] && xdotool windowactivate --sync "$win" key --clearmodifiers shift+Delete
  sleep 0.5
done
close $pid "$win"

"$program" >"$logs/second.log" 2>&1 &
pid=$!
win=$(window_of $pid) || { echo "no window on the second start" >&2; exit 1; }
sleep 3
close $pid "$win"
EOF
chmod 755 "$work/session.sh"

echo "package-check: the installed program, as $("${as_user[@]}" id -un), HOME=$home"
# Qt WebEngine cannot start its sandbox in a container, and there is no GPU.
"${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/runtime" LANG=C.UTF-8 \
  QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu \
  timeout 300 xvfb-run -a -s "-screen 0 1280x800x24" \
  "$work/session.sh" "$root/usr/bin/kestrune" "$data" "$skel" "$home" || {
  cat "$home"/*.log >&2 2>/dev/null || true
  fail "the session with the installed program failed"
}

[ -d "$data/demo/pages" ] && [ -f "$data/main.lis" ] && [ -f "$data/demo/second.lst" ] || fail "no demo in $data"
cmp -s "$data/main.lis" "$skel/main.lis" || fail "main.lis differs from the demo's"
grep -qF "$first_album" "$skel/list.lst" || fail "the demo's first album is not where the check expects it"
grep -qF "$first_album" "$data/list.lst" && fail "the deleted album is still in $data/list.lst"
grep -qF "$second_album" "$data/list.lst" || fail "the other albums are gone from $data/list.lst"
[ "$(grep -c -- '-newalbum' "$data/list.lst")" -eq $(($(grep -c -- '-newalbum' "$skel/list.lst") - 1)) ] ||
  fail "not exactly one album was deleted"
grep -q '^WindowState=' "$data/ks.ini" || fail "closing the window wrote no settings into $data/ks.ini"
manifest >"$work/after"
diff "$work/before" "$work/after" || fail "the program changed the installed tree"
echo "package-check: demo copied, edit and settings saved in $data; the installed tree is unchanged"

# ---- 3. the Debian package -------------------------------------------------------------------------
rm -f build/kestrune_*.deb
(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/kestrune_*.deb)
dpkg-deb --info "$deb"
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|; s|/$||' | grep -v '^$' | sort >"$work/packaged"
(cd "$root" && find . -mindepth 1 | sed 's|^\.||' | sort) >"$work/installed"
diff "$work/installed" "$work/packaged" || fail "the package holds other files than the installation"
echo "package-check: $deb, $(stat -c %s "$deb") bytes, $(wc -l <"$work/packaged") paths"
lintian_user=()
[ "$(id -u)" -eq 0 ] && lintian_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$home")
cp "$deb" "$work/" && chmod 644 "$work/$(basename "$deb")"
"${lintian_user[@]}" lintian --fail-on error,warning --display-info --pedantic "$work/$(basename "$deb")"
echo "package-check: lintian passed"
apt-get install --simulate --no-install-recommends "./$deb" >"$work/apt.log" || { cat "$work/apt.log"; fail "apt cannot install $deb"; }
echo "package-check: apt can install $deb with its dependencies"
