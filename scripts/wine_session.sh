#!/usr/bin/env bash
# A Wine session for the Wine tests and the Wine benchmarks, kept in STATE:
# the prefix (STATE/prefix, made once), an Xvfb display, one persistent Wine
# server and a Wine process that lives as long as the server. `start` stops
# what an earlier run left first, then writes DISPLAY and XVFB_PID to
# STATE/env; `stop` ends it all.
# Usage: wine_session.sh start|stop STATE [FIRST_DISPLAY SCREEN]
set -euo pipefail
action="$1" state="$2"
export WINEPREFIX="$state/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# shellcheck source=wine_common.sh
. "$(dirname "$0")/wine_common.sh"

wineserver -k 2>/dev/null || true
# shellcheck disable=SC1091
[ -f "$state/env" ] && . "$state/env" && kill "$XVFB_PID" 2>/dev/null || true
rm -f "$state/env" "$state/session"
[ "$action" = start ] || exit 0

mkdir -p "$state"
vop_prepare_prefix "$WINEPREFIX" "$state" unattended
vop_start_xvfb "${3:-91}" "${4:-1280x1024x24}" "$state/xvfb.log" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY="$VOP_DISPLAY"
nohup wineserver -p > "$state/wineserver.log" 2>&1 < /dev/null &
# Without a Wine process that outlives each program, Wine's services and
# desktop end with every program and start again with the next, which may
# then wait for them for seconds. This one waits for input that never comes.
mkfifo "$state/session"
nohup wine cmd <> "$state/session" > /dev/null 2>&1 &
# Warm the server up so the first program does not pay for it.
timeout 60 wine cmd /c exit > /dev/null 2>&1 || true
printf 'DISPLAY=%s\nXVFB_PID=%s\n' "$DISPLAY" "$VOP_XVFB_PID" > "$state/env"
