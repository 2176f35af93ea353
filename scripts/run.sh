#!/usr/bin/env bash
# Builds Vop and starts it under Wine. With no argument it opens the sample
# file from the repository. Uses the desktop's display when there is one,
# otherwise a virtual one (Xvfb) whose screenshots land in build/run/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install_deps.sh"
"$root/scripts/build.sh"

file="${1:-$root/resources/sample.bin}"
headless=0
[ -z "${DISPLAY:-}" ] && headless=1
# Without a window manager Wine must draw the frames itself: a prefix of its own for that.
default_prefix="$root/build/run/prefix"
[ "$headless" = 1 ] && default_prefix="$root/build/run/prefix-virtual"
export WINEPREFIX="${WINEPREFIX:-$default_prefix}"
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$root/build/run"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Preparing a Wine prefix in $WINEPREFIX (once)..."
  DISPLAY= wineboot -i > /dev/null 2>&1 || true
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  if [ "$headless" = 1 ]; then
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"="N"\n' > "$root/build/run/unmanaged.reg"
    DISPLAY= wine reg import "$root/build/run/unmanaged.reg" > /dev/null 2>&1 || true
  fi
  wineserver -w || true
fi

if [ "$headless" = 1 ]; then
  display=":77"
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp > /dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null || true' EXIT
  export DISPLAY="$display"
  sleep 1
  echo "No display found: Vop runs on the virtual display $display."
  echo "Look at it with: DISPLAY=$display import -window root $root/build/run/screen.png"
fi

file="$(cd "$(dirname "$file")" && pwd)/$(basename "$file")"
wine "$root/build/win/portable/Vop.exe" "$(winepath -w "$file" 2>/dev/null)"
