#!/usr/bin/env bash
# Starts (or stops) what the Wine tests share: a Wine prefix kept in the
# build tree, an Xvfb display and one persistent Wine server.
set -euo pipefail
state="${VOP_WINE_STATE:?}"
prefix="$state/prefix"
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# shellcheck source=wine_common.sh
. "$(dirname "$0")/wine_common.sh"

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
  vop_prepare_prefix "$prefix" "$state"
  vop_start_xvfb 91 1280x1024x24 "$state/xvfb.log" || { echo "Xvfb did not start"; exit 1; }
  n="${VOP_DISPLAY#:}"
  xvfb="$VOP_XVFB_PID"
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
