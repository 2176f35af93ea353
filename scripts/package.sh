#!/usr/bin/env bash
# Builds the release a Windows user downloads: build/dist/Vop-<version>-win64.zip
# (one folder Vop-<version>/ with Vop.exe, its fonts, the help page, README.txt,
# LICENSE.txt and THIRD-PARTY-NOTICES.txt) and its SHA-256, printed and written
# beside it. <version> comes from project() in CMakeLists.txt.
#
# The same sources give the same bytes wherever and whenever they are built:
# Vop.exe holds no time and no path of this machine (cmake/reproducible.cmake),
# and the zip's entries are dated SOURCE_DATE_EPOCH, the last commit's time
# unless it is set (1980-01-01 outside a git checkout).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="${VOP_JOBS:-2}"
"$root/scripts/install_deps.sh"

cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
      -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$root/build/win" -j "$jobs" --target Vop

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  # Only this tree's own history: a copy of the sources inside another
  # repository must not take that one's date.
  if [ -e "$root/.git" ]; then
    SOURCE_DATE_EPOCH="$(git -C "$root" log -1 --format=%ct)"
  else
    SOURCE_DATE_EPOCH=315532800
  fi
fi
export SOURCE_DATE_EPOCH
python3 "$root/scripts/make_zip.py" "$root/build/win" "$root/build/dist"
