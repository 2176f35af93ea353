#!/usr/bin/env bash
# Installs what building, running and testing Vop needs on Debian 12.
# Safe to run again: it only asks apt for what is missing.
set -euo pipefail

packages=(
  cmake make g++ pkg-config googletest libgtest-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  wine wine64 xvfb xdotool x11-utils imagemagick python3 python3-pytest
  # Wine's own fonts: the dialogs' "MS Sans Serif" and the key list's "Courier".
  fonts-wine
  fonts-terminus-otb
  # The About picture's letters are drawn from DejaVu Sans Bold.
  fonts-dejavu-core
  # The fuzz targets: clang, and libFuzzer's runtime with FuzzedDataProvider.h.
  clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
