#!/bin/sh
# Regenerates the About picture from its source font and compares it with the
# committed one byte for byte. Exits 77 (skipped) when the source font or
# python3 is not installed: apt-get install fonts-dejavu-core python3
set -u
here=$(cd "$(dirname "$0")" && pwd)
font=${DEJAVU_SANS_BOLD:-/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf}

if ! command -v python3 >/dev/null 2>&1; then
    echo "python3 not found: skipped"
    exit 77
fi
if [ ! -f "$font" ]; then
    echo "$font not found (Debian package fonts-dejavu-core): skipped"
    exit 77
fi

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
python3 "$here/make_about_picture.py" --font "$font" --out "$out/about.mbm" || exit 1

if cmp "$out/about.mbm" "$here/../resources/about.mbm"; then
    echo "about.mbm: reproduced"
else
    echo "about.mbm: differs from the committed file"
    exit 1
fi
