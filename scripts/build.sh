#!/usr/bin/env bash
# Builds Vop.exe (cross, mingw-w64) into build/win/portable. With --with-tests
# also the libFuzzer targets (clang) into build/fuzz, and the native core with
# its tests into build/native (whose ctest runs the Wine tests against build/win
# and replays the fuzz corpora with build/fuzz). With --fuzz only build/fuzz.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="${VOP_JOBS:-2}"

build_fuzz() {
  cmake -S "$root" -B "$root/build/fuzz" -DVOP_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 > /dev/null
  cmake --build "$root/build/fuzz" -j "$jobs"
}

if [ "${1:-}" = "--fuzz" ]; then
  build_fuzz
  exit 0
fi

cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
      -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$root/build/win" -j "$jobs"

if [ "${1:-}" = "--with-tests" ]; then
  build_fuzz
  cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug \
        -DVOP_WIN_BUILD_DIR="$root/build/win" -DVOP_FUZZ_BUILD_DIR="$root/build/fuzz" > /dev/null
  cmake --build "$root/build/native" -j "$jobs"
fi
