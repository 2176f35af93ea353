#!/usr/bin/env bash
# Starts (wine_env.sh start) or stops (wine_env.sh stop) what the Wine tests
# share: a Wine prefix kept in the build tree, an Xvfb display and one
# persistent Wine server. Starting stops what an earlier run left first.
set -euo pipefail
state="${VOP_WINE_STATE:?}"
export WINEPREFIX="$state/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# shellcheck source=../../scripts/wine_common.sh
. "$(dirname "$0")/../../scripts/wine_common.sh"

wineserver -k 2>/dev/null || true
# shellcheck disable=SC1091
[ -f "$state/env" ] && . "$state/env" && kill "$XVFB_PID" 2>/dev/null || true
rm -f "$state/env" "$state/session"
[ "${1:-}" = start ] || exit 0

vop_prepare_prefix "$WINEPREFIX" "$state" unattended
vop_start_xvfb 91 1280x1024x24 "$state/xvfb.log" || { echo "Xvfb did not start"; exit 1; }
export DISPLAY="$VOP_DISPLAY"
nohup wineserver -p > "$state/wineserver.log" 2>&1 < /dev/null &
# A Wine process that lives as long as the server, waiting for input that never
# comes: without one, Wine's services and desktop end with each test's program
# and start again with the next, which may then wait for them for seconds.
mkfifo "$state/session"
nohup wine cmd <> "$state/session" > /dev/null 2>&1 &
# Warm the server up so the first test does not pay for it.
timeout 60 wine cmd /c exit > /dev/null 2>&1 || true
printf 'DISPLAY=%s\nXVFB_PID=%s\n' "$DISPLAY" "$VOP_XVFB_PID" > "$state/env"
