#!/usr/bin/env bash
# Runs Vop's benchmarks and prints a short table:
#  - under Wine (own prefix, own Xvfb 1920x1200x24, one persistent Wine server):
#    glyph strip build, full repaint of a 1920x1080 data window, start-up;
#  - natively, the *_bench programs of a native release build when one exists.
#
# usage: bench/run_wine_benches.sh [--native] [--launches N] [--frames N]
#   --native      configure build/native-release (unsanitized) when it is missing
# environment: VOP_WIN_BUILD_DIR (default build/win-bench),
#              VOP_NATIVE_RELEASE_DIR (default build/native-release),
#              VOP_BENCH_STATE (default build/bench-wine: prefix, logs, outputs)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
win_build="${VOP_WIN_BUILD_DIR:-$root/build/win-bench}"
native_build="${VOP_NATIVE_RELEASE_DIR:-$root/build/native-release}"
state="${VOP_BENCH_STATE:-$root/build/bench-wine}"
make_native=0
launches=15
frames=50
while [ $# -gt 0 ]; do
  case "$1" in
    --native) make_native=1 ;;
    --launches) launches="$2"; shift ;;
    --frames) frames="$2"; shift ;;
    *) echo "unknown option $1" >&2; exit 64 ;;
  esac
  shift
done

for tool in cmake x86_64-w64-mingw32-g++-posix wine wineserver Xvfb; do
  command -v "$tool" > /dev/null || { echo "missing $tool (see the README's set-up command)" >&2; exit 1; }
done

# ---- The Windows build ----
# Configured every time (quick) so that benchmark sources added since are targets.
if [ -f "$win_build/CMakeCache.txt" ]; then
  cmake "$win_build" > /dev/null
else
  cmake -S "$root" -B "$win_build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$win_build" -j2 --target Vop vop_probe process_memory strip_build_bench paint_bench startup_bench empty_window framed_window line_index_bench_wine document_search_bench_wine wave_tick_bench_wine

# ---- A Wine session of our own: prefix, X display (never :91, where the Wine
# tests run) and one persistent Wine server, warmed up before anything is timed ----
"$root/scripts/wine_session.sh" start "$state" 92 1920x1200x24
trap '"$root/scripts/wine_session.sh" stop "$state"' EXIT
export WINEPREFIX="$state/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
DISPLAY="$(sed -n 's/^DISPLAY=//p' "$state/env")"
export DISPLAY

# Vop writes its settings file beside itself on every exit: run a copy.
rm -rf "$state/vop"
cp -r "$win_build/portable" "$state/vop"
rm -f "$state/vop/Vop.cfg"

# shellcheck source=../scripts/wine_common.sh
. "$root/scripts/wine_common.sh"
fonts="$(vop_windows_path "$state/vop")"
bench="$win_build/bench"
table="$state/table.txt"
: > "$table"

run() {  # name, command...
  local name="$1"; shift
  echo "== $name"
  local status=0
  timeout 600 "$@" > "$state/$name.txt" 2>&1 || status=$?
  grep -v '^TABLE|' "$state/$name.txt" | sed 's/^/   /' || true
  grep '^TABLE|' "$state/$name.txt" | sed 's/\r$//' >> "$table" || true
  [ "$status" = 0 ] || { echo "   ($name exited with $status)"; echo "TABLE|$name|failed (exit $status)||" >> "$table"; }
}

run strip_build_bench wine "$bench/strip_build_bench.exe" "$fonts" 31 1
run paint_bench wine "$bench/paint_bench.exe" "$fonts" "$frames"
run memory_bench "$root/bench/memory_bench.sh" "$win_build/portable" "$win_build/tools/vop_probe.exe" "$win_build/bench/process_memory.exe" "$state/memory"
[ -f "$bench/line_index_bench.exe" ] && run line_index_bench_wine wine "$bench/line_index_bench.exe"
# The search of a cached 2 GiB file, a replace-all of a million occurrences
# and one of the 32,768 page starts of 2 GiB (the files, 4.1 GiB, are made
# once and kept in $state/search-data).
mkdir -p "$state/search-data"
run document_search_bench_wine wine "$bench/document_search_bench.exe" "$(vop_windows_path "$state/search-data")"
# The About box's ripple, one tick against its 20 ms period, on the program's own picture.
run wave_tick_bench_wine wine "$bench/wave_tick_bench.exe" "$(vop_windows_path "$root/resources/about.mbm")"
run startup_bench wine "$bench/startup_bench.exe" "$(vop_windows_path "$state/vop/Vop.exe")" "$(vop_windows_path "$bench/empty_window.exe")" "$(vop_windows_path "$bench/framed_window.exe")" "$launches"

# ---- Native benchmarks (release, unsanitized) ----
if [ "$make_native" = 1 ] && [ ! -f "$native_build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$native_build" -DVOP_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release
fi
if [ -f "$native_build/CMakeCache.txt" ]; then
  cmake "$native_build" > /dev/null
  # The document search also against grep, on the files the Wine run made.
  for name in line_index_bench open_document_bench page_down_bench sequence_search_bench document_search_bench wave_tick_bench; do
    if [ ! -f "$root/bench/$name.cpp" ]; then
      echo "== $name (not written yet: skipped)"
      continue
    fi
    args=()
    [ "$name" = document_search_bench ] && args=("$state/search-data" --grep)
    if cmake --build "$native_build" -j2 --target "$name" > "$state/$name.build.log" 2>&1; then
      run "$name" "$native_build/bench/$name" "${args[@]}"
    else
      echo "== $name (does not build: see $state/$name.build.log)"
    fi
  done
else
  echo "== native benchmarks skipped: no release build at $native_build (use --native)"
fi

echo
echo "Summary ($(date +%Y-%m-%d), $(nproc) cores, $(wine --version 2> /dev/null), load average $(cut -d' ' -f1-3 /proc/loadavg)):"
awk -F'|' '{ printf "  %-52s %-20s %-32s %s\n", $2, $3, $4, $5 }' "$table"
