#!/usr/bin/env bash
# Builds the Debian package from the build folder, unpacks it into a throw-away
# root, starts the program the way the desktop does (the entry's Exec command
# found on PATH) on a virtual X display, and checks that the main window opens
# and that the program works in ~/WeightAndBalance.
#   install_test.sh <cpack> <CPackConfig.cmake>
# Exits 77 (skipped) when a tool it needs is missing.
set -uo pipefail
cpack=$1 config=$2
name=weight-and-balance

for tool in "$cpack" dpkg-deb dpkg-shlibdeps file rsvg-convert desktop-file-validate Xvfb xdotool xprop; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed (./wb test installs it)"
    exit 77
  fi
done

tmp=$(mktemp -d)
program=
xvfb=
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null && wait "$program" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }

# The package, made as `./wb package` makes it.
"$cpack" -G DEB --config "$config" -B "$tmp/package" >"$tmp/cpack.log" 2>&1 \
  || { cat "$tmp/cpack.log"; fail "cpack did not make the package"; }
deb=$(ls "$tmp"/package/*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no .deb made"
echo "package: $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for dep in libqt6widgets6 libqt6printsupport6 libsqlite3-0 fonts-liberation; do
  [[ ", $depends," == *", $dep "* || ", $depends," == *", $dep,"* ]] || fail "Depends lacks $dep"
done

root=$tmp/root
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x failed"
entry=$root/usr/share/applications/$name.desktop
for f in "usr/bin/$name" "usr/libexec/$name/wb" "usr/share/applications/$name.desktop" \
         "usr/share/icons/hicolor/scalable/apps/$name.svg"; do
  [ -f "$root/$f" ] || fail "package lacks /$f"
done
for size in 16 32 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/$name.png
  [ -f "$icon" ] || fail "package lacks the ${size}x${size} icon"
  file -b "$icon" | grep -q "PNG image data, $size x $size" || fail "$icon is not a ${size}x${size} PNG"
done

report=$(desktop-file-validate "$entry" 2>&1)
[ -z "$report" ] || { echo "$report"; fail "desktop-file-validate is not clean"; }

# The desktop runs the Exec command (no field codes here) through PATH.
exec_line=$(sed -n 's/^Exec=//p' "$entry" | head -n 1)
[ -n "$exec_line" ] || fail "the desktop entry has no Exec command"
export PATH="$root/usr/bin:$PATH"
[ "$(command -v "${exec_line%% *}")" = "$root/usr/bin/$name" ] \
  || fail "Exec=$exec_line does not start the installed launcher"
echo "Exec=$exec_line"

# A fresh user: no data folder yet, started from some other folder.
export HOME=$tmp/home
mkdir -p "$HOME" "$tmp/elsewhere"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" >"$tmp/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
[ -s "$tmp/display" ] || { cat "$tmp/xvfb.log"; fail "Xvfb did not start"; }
export DISPLAY=:$(head -n 1 "$tmp/display")
unset QT_QPA_PLATFORM

(cd "$tmp/elsewhere" && exec $exec_line) >"$tmp/program.log" 2>&1 &
program=$!

# The main window: a shown top-level window of this process titled "Weight
# and Balance" whose first window type is the normal one (the splash window
# before it is of the splash type, with normal only as its fallback).
window=
for _ in $(seq 300); do
  kill -0 "$program" 2>/dev/null || { cat "$tmp/program.log"; fail "the program ended before its main window opened"; }
  for w in $(xdotool search --all --onlyvisible --pid "$program" --name '^Weight and Balance$' 2>/dev/null); do
    xprop -id "$w" _NET_WM_WINDOW_TYPE | grep -q '= _NET_WM_WINDOW_TYPE_NORMAL' && window=$w
  done
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { cat "$tmp/program.log"; fail "no main window within 60 s"; }
echo "main window $window: $(xprop -id "$window" WM_NAME)"

[ -f "$HOME/WeightAndBalance/SetupVASK.MDB" ] \
  || fail "no settings database in ~/WeightAndBalance: the program did not start there"
[ -z "$(ls -A "$tmp/elsewhere")" ] || fail "the program wrote into the folder it was launched from"
echo "settings database: ~/WeightAndBalance/SetupVASK.MDB"
echo "PASSED"
