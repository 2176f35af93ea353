#!/usr/bin/env bash
# Builds everything and runs every test: the native core tests (AddressSanitizer
# and UBSan) and the tests of the real Vop.exe under Wine and Xvfb, in one ctest
# run, then the checks of the release zip (scripts/check_release.py).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install_deps.sh"
"$root/scripts/build.sh" --with-tests
cd "$root/build/native"
ctest --output-on-failure -j "${VOP_JOBS:-2}" --timeout 600 "$@"
# A whole run also checks the release zip, and builds it a second time in
# another folder to show the build gives the same bytes (about two minutes).
# A run of chosen tests (ctest arguments given) leaves it out.
if [ $# -eq 0 ]; then
  python3 "$root/scripts/check_release.py"
fi
