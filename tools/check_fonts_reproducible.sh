#!/bin/sh
# Regenerates the six font files from their source font and compares them with
# the committed ones byte for byte. Exits 77 (skipped) when the source font or
# python3 is not installed: apt-get install fonts-terminus-otb python3
set -u
here=$(cd "$(dirname "$0")" && pwd)
source_dir=${TERMINUS_OTB_DIR:-/usr/share/fonts/opentype/terminus}

if ! command -v python3 >/dev/null 2>&1; then
    echo "python3 not found: skipped"
    exit 77
fi
for f in terminus-normal.otb terminus-bold.otb; do
    if [ ! -f "$source_dir/$f" ]; then
        echo "$source_dir/$f not found (Debian package fonts-terminus-otb): skipped"
        exit 77
    fi
done

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
python3 "$here/make_fonts.py" --source-dir "$source_dir" --out "$out" || exit 1

status=0
for f in font.fnt font1.fnt font2.fnt digits.fnt digits1.fnt digits2.fnt; do
    if cmp "$out/$f" "$here/../resources/fonts/$f"; then
        echo "$f: reproduced"
    else
        echo "$f: differs from the committed file"
        status=1
    fi
done
exit $status
