#!/usr/bin/env bash
# Starts (or stops) what the Wine tests share: a Wine prefix kept in the
# build tree, an Xvfb display and one persistent Wine server.
set -euo pipefail
state="${VOP_WINE_STATE:?}"
prefix="$state/prefix"
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

stop() {
  if [ -f "$state/env" ]; then
    # shellcheck disable=SC1091
    . "$state/env"
    DISPLAY="$DISPLAY" wineserver -k 2>/dev/null || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -f "$state/env"
  else
    wineserver -k 2>/dev/null || true
  fi
}

start() {
  stop
  mkdir -p "$state"
  if [ ! -f "$prefix/.vop-ready" ]; then
    rm -rf "$prefix"
    DISPLAY= wineboot -i > "$state/wineboot.log" 2>&1 || true
    mkdir -p "$prefix/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
    cat > "$state/settings.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Audio"=""
REG
    DISPLAY= wine reg import "$state/settings.reg" > /dev/null 2>&1
    wineserver -w
    touch "$prefix/.vop-ready"
  fi

  # A free display number.
  n=91
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp > "$state/xvfb.log" 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  [ -e "/tmp/.X11-unix/X$n" ] || { echo "Xvfb did not start"; cat "$state/xvfb.log"; exit 1; }
  DISPLAY=":$n" nohup wineserver -p > "$state/wineserver.log" 2>&1 < /dev/null &
  # Warm the server up so the first test does not pay for it.
  DISPLAY=":$n" timeout 60 wine cmd /c exit > /dev/null 2>&1 || true
  printf 'DISPLAY=:%s\nXVFB_PID=%s\n' "$n" "$xvfb" > "$state/env"
  echo "Wine tests use display :$n"
}

case "${1:-}" in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop"; exit 64 ;;
esac
