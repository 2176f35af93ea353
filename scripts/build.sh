#!/usr/bin/env bash
# Builds Vop.exe (cross, mingw-w64) into build/win/portable and the native
# core with its tests into build/native.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="${VOP_JOBS:-2}"

cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
      -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$root/build/win" -j "$jobs"

if [ "${1:-}" = "--with-tests" ]; then
  cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug \
        -DVOP_WIN_BUILD_DIR="$root/build/win" > /dev/null
  cmake --build "$root/build/native" -j "$jobs"
fi
