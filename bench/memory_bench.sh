#!/usr/bin/env bash
# The real program's memory with a 1 KiB file and with a 2 GiB file open, after
# paging through it: the page window holds three 64 KiB pages whatever the size.
# Runs under the Wine prefix and display given in the environment (WINEPREFIX,
# DISPLAY), as bench/run_wine_benches.sh sets them.
# usage: bench/memory_bench.sh PORTABLE_DIR PROBE_EXE MEMORY_EXE WORK_DIR
set -euo pipefail
portable="$1" probe="$2" memory="$3" work="$4"
mkdir -p "$work"
winpath() { local p="$1"; echo "Z:${p//\//\\}"; }

measure() {  # label, file
  rm -rf "$work/vop" && cp -r "$portable" "$work/vop" && rm -f "$work/vop/Vop.cfg"
  wine "$work/vop/Vop.exe" "$(winpath "$2")" > /dev/null 2>&1 &
  local pid=$!
  for _ in $(seq 100); do wine "$probe" info 2>/dev/null | grep -q '^parts=2' && break; sleep 0.1; done
  # Page through the file for a while: one Page Down per message, many page shifts.
  for _ in $(seq 20); do wine "$probe" sendkeys 34 34 34 34 34 34 34 34 34 34 > /dev/null 2>&1 || true; done
  local after caret
  caret=$(wine "$probe" info | sed -n 's/^status0=//p' | tr -d '\r')
  after="caret at $caret, $(wine "$memory" | tr '\r\n' '  ')"
  echo "$1: $after"
  echo "TABLE|memory, $1|$after||"
  wine "$probe" command 40005 > /dev/null 2>&1 || true
  wait "$pid" 2>/dev/null || true
}

head -c 1024 /dev/urandom > "$work/small.bin"
rm -f "$work/big.bin" && truncate -s 2147483648 "$work/big.bin"
measure "1 KiB file" "$work/small.bin"
measure "2 GiB file" "$work/big.bin"
rm -f "$work/big.bin" "$work/small.bin"
