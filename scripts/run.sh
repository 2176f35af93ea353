#!/usr/bin/env bash
# Builds Vop and starts it under Wine. With no argument it opens the sample
# file from the repository. Uses the desktop's display when there is one,
# otherwise a virtual one (Xvfb) whose screenshots land in build/run/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install_deps.sh"
"$root/scripts/build.sh"
# shellcheck source=wine_common.sh
. "$root/scripts/wine_common.sh"

file="${1:-$root/resources/sample.bin}"
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine hands file names in any script to the program only under a UTF-8 locale.
case "${LANG:-}" in *UTF-8* | *utf8*) ;; *) export LANG=C.UTF-8 ;; esac
mkdir -p "$root/build/run"
if [ -n "${DISPLAY:-}" ]; then
  export WINEPREFIX="${WINEPREFIX:-$root/build/run/prefix}"
  [ -f "$WINEPREFIX/.vop-ready" ] || echo "Preparing a Wine prefix in $WINEPREFIX (once)..."
  vop_prepare_prefix "$WINEPREFIX" "$root/build/run"
else
  # Without a window manager Wine must draw the frames itself: a prefix of its own for that.
  export WINEPREFIX="${WINEPREFIX:-$root/build/run/prefix-virtual}"
  [ -f "$WINEPREFIX/.vop-ready" ] || echo "Preparing a Wine prefix in $WINEPREFIX (once)..."
  vop_prepare_prefix "$WINEPREFIX" "$root/build/run" unattended
  vop_start_xvfb 77 1280x1024x24 "$root/build/run/xvfb.log" || { echo "Xvfb did not start"; exit 1; }
  trap 'kill "$VOP_XVFB_PID" 2>/dev/null || true' EXIT
  export DISPLAY="$VOP_DISPLAY"
  echo "No display found: Vop runs on the virtual display $DISPLAY."
  echo "Look at it with: DISPLAY=$DISPLAY import -window root $root/build/run/screen.png"
fi

wine "$root/build/win/portable/Vop.exe" "$(vop_windows_path "$file")"
