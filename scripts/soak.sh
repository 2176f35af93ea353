#!/usr/bin/env bash
# A long soak of the real Vop.exe under Wine: random use with one seed in one
# mode (see tests/wine/soak.py). Builds the program first. Each set of
# arguments has its own Wine session, display and folder under build/soak/,
# so soaks of other seeds or modes may run beside it; a failure leaves
# failed.png there, in the run's folder under runs/.
# Usage: scripts/soak.sh [--minutes N] [--seed S] [--mode never-save|always-save|mixed]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install_deps.sh"
"$root/scripts/build.sh"
state="$root/build/soak/$(printf '%s' "${*:-default}" | tr -c 'A-Za-z0-9.-' '_')"
"$root/scripts/wine_session.sh" start "$state" 121
trap '"$root/scripts/wine_session.sh" stop "$state"' EXIT
cd "$root/tests/wine"
VOP_WINE_STATE="$state" VOP_WIN_BUILD_DIR="$root/build/win" PYTHONDONTWRITEBYTECODE=1 python3 soak.py "$@"
