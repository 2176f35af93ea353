# Shared by scripts/run.sh and scripts/wine_session.sh (the Wine tests' and
# the Wine benchmarks' session): source it.

# vop_prepare_prefix PREFIX LOGDIR [unattended]: a 64-bit Wine prefix, made once
# and marked ready, with fonts for the dialogs. An unattended prefix also gets
# the settings of wine_unattended.reg: Wine draws the window frames itself (no
# window manager), no crash dialog, no sound device.
vop_prepare_prefix() {
  local prefix="$1" logs="$2"
  [ -f "$prefix/.vop-ready" ] && return 0
  rm -rf "$prefix"
  mkdir -p "$logs"
  WINEPREFIX="$prefix" DISPLAY= wineboot -i > "$logs/wineboot.log" 2>&1 || true
  mkdir -p "$prefix/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
  if [ "${3:-}" = unattended ]; then
    WINEPREFIX="$prefix" DISPLAY= wine reg import "$(dirname "${BASH_SOURCE[0]}")/wine_unattended.reg" > /dev/null 2>&1
  fi
  WINEPREFIX="$prefix" wineserver -w
  touch "$prefix/.vop-ready"
}

# vop_start_xvfb FIRST SCREEN LOG: starts Xvfb on the first free display number
# from FIRST with the screen size SCREEN (e.g. 1280x1024x24); sets VOP_DISPLAY
# and VOP_XVFB_PID, or returns 1 when it did not come up.
vop_start_xvfb() {
  local n="$1" screen="$2" log="$3"
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "$screen" -nolisten tcp > "$log" 2>&1 &
  VOP_XVFB_PID=$!
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  [ -e "/tmp/.X11-unix/X$n" ] || { cat "$log" >&2; return 1; }
  VOP_DISPLAY=":$n"
}

# vop_windows_path PATH: the Z: drive path Wine gives a Linux path, built here
# because winepath cuts its answer at 260 characters.
vop_windows_path() {
  local full
  full="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
  printf 'Z:%s' "${full//\//\\}"
}
