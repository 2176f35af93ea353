#!/usr/bin/env bash
# Builds everything and runs every test: the native core tests (AddressSanitizer
# and UBSan) and the tests of the real Vop.exe under Wine and Xvfb, in one ctest run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install_deps.sh"
"$root/scripts/build.sh" --with-tests
cd "$root/build/native"
ctest --output-on-failure -j "${VOP_JOBS:-2}" --timeout 600 "$@"
