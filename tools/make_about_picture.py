#!/usr/bin/env python3
"""Generates resources/about.mbm, the About box's picture (resource "MBM", id 122).

The picture is the word "Vop" in DejaVu Sans Bold, black and anti-aliased on
a transparent background, 255 x 75 pixels. The outlines are read from the
Debian package fonts-dejavu-core (Bitstream Vera licence, DejaVu changes in
the public domain), file DejaVuSans-Bold.ttf, with tools/truetype_outline.py,
and filled without hinting: every pixel's coverage is its inked area,
measured exactly across each of 16 sample lines per pixel row (non-zero
winding rule). The output is deterministic: running this again on the same
font reproduces the committed file byte for byte
(tools/check_about_picture_reproducible.sh verifies that).

File format (MBM, all numbers little-endian):

    "MB"                    signature
    int32 width, height     255, 75
    uint8 type, subtype     2 (8 bits per pixel, palette), 3 (short runs)
    uint16 count            67 palette entries
    count x (T, R, G, B)    all black; transparency T_i = round(i * 255 / 66),
                            so entry 0 is opaque ink and entry 66 the clear
                            background
    run stream              byte b < 128: one pixel of index b;
                            b >= 128, v: b - 125 pixels (3 to 130) of index v

Pixels are counted row by row over the whole picture and runs go on across
row ends. A pixel of coverage c takes index round((1 - c) * 66). The stream
covers exactly 255 x 75 pixels and ends at the end of the file.

Usage: make_about_picture.py [--out FILE] [--font FILE] [--preview FILE.png]
"""

import argparse
import math
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from truetype_outline import TrueTypeFont, flatten  # noqa: E402

DEFAULT_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
WORD = "Vop"
WIDTH, HEIGHT = 255, 75
LEVELS = 67
CLEAR = LEVELS - 1
# The About box ripples the picture by up to 5 pixels each way and whatever
# is pushed over an edge is lost, so the letters keep that far from every edge.
RIPPLE = 5
SAMPLE_LINES = 16
CURVE_STEPS = 16
# A face colour like the dialog's, for the preview.
FACE = (240, 240, 240)


def layout(font):
    """The word's contours in font units, each glyph moved to its pen position."""
    gids = [font.glyph_id(ord(ch)) for ch in WORD]
    if 0 in gids:
        raise SystemExit("the font has no glyph for one of the letters of %r" % WORD)
    contours, pen = [], 0
    for i, gid in enumerate(gids):
        if i:
            pen += font.kerning(gids[i - 1], gid)
        contours += [[(x + pen, y) for x, y in flatten(c, CURVE_STEPS)] for c in font.contours(gid)]
        pen += font.advance(gid)
    return contours


def fit(contours):
    """Scales the word to the largest whole-pixel capital height that leaves
    RIPPLE pixels clear at the top and bottom, sits the baseline (and so the
    flat top of the V) on a pixel boundary, and centres the ink across."""
    xs = [x for c in contours for x, _ in c]
    ys = [y for c in contours for _, y in c]
    cap = max(ys)  # the V is as tall as a capital
    room = HEIGHT - 2 * RIPPLE
    cap_pixels = math.floor(room * cap / (cap - min(ys)))
    scale = cap_pixels / cap
    ink_height = (cap - min(ys)) * scale
    baseline = math.floor((HEIGHT - ink_height) / 2) + cap_pixels
    left = (WIDTH - (max(xs) - min(xs)) * scale) / 2 - min(xs) * scale
    return [[(left + x * scale, baseline - y * scale) for x, y in c] for c in contours]


def coverage(polygons):
    """Each pixel's inked share, 0 to 1: across SAMPLE_LINES lines per pixel
    row, the spans of non-zero winding are added exactly along x."""
    edges = []
    for poly in polygons:
        for (x0, y0), (x1, y1) in zip(poly, poly[1:] + poly[:1]):
            if y0 == y1:
                continue
            direction = 1 if y1 > y0 else -1
            if y0 > y1:
                x0, y0, x1, y1 = x1, y1, x0, y0
            edges.append((y0, y1, x0, (x1 - x0) / (y1 - y0), direction))
    weight = 1.0 / SAMPLE_LINES
    rows = []
    for row in range(HEIGHT):
        cover = [0.0] * WIDTH
        for k in range(SAMPLE_LINES):
            y = row + (k + 0.5) / SAMPLE_LINES
            crossings = sorted((x0 + (y - y0) * slope, d) for y0, y1, x0, slope, d in edges if y0 <= y < y1)
            winding = 0
            for (xa, d), (xb, _) in zip(crossings, crossings[1:]):
                winding += d
                if winding:
                    add_span(cover, xa, xb, weight)
        rows.append(cover)
    return rows


def add_span(cover, xa, xb, weight):
    xa, xb = max(xa, 0.0), min(xb, float(WIDTH))
    if xa >= xb:
        return
    ia, ib = int(xa), int(xb)
    if ia == ib:
        cover[ia] += (xb - xa) * weight
        return
    cover[ia] += (ia + 1 - xa) * weight
    for i in range(ia + 1, ib):
        cover[i] += weight
    if ib < WIDTH:
        cover[ib] += (xb - ib) * weight


def indices(rows):
    """Row-major palette indices: full ink 0, nothing CLEAR."""
    return [int((1.0 - min(max(c, 0.0), 1.0)) * CLEAR + 0.5) for cover in rows for c in cover]


def palette():
    return [((i * 255 * 2 + CLEAR) // (2 * CLEAR), 0, 0, 0) for i in range(LEVELS)]  # round(i*255/66)


def encode_runs(pixels):
    out = bytearray()
    i = 0
    while i < len(pixels):
        value, j = pixels[i], i
        while j < len(pixels) and pixels[j] == value:
            j += 1
        left = j - i
        while left >= 3:
            piece = min(left, 130)
            out += bytes((piece + 125, value))
            left -= piece
        out += bytes([value]) * left  # a rest of 1 or 2 goes as single pixels
        i = j
    return bytes(out)


def encode(pixels):
    head = b"MB" + struct.pack("<iiBBH", WIDTH, HEIGHT, 2, 3, LEVELS)
    return head + b"".join(bytes(entry) for entry in palette()) + encode_runs(pixels)


def decode(data):
    """Reads the file back the way the program does, so that the encoder is
    checked against an independent reading of the format."""
    assert data[:2] == b"MB"
    width, height, kind, subtype, count = struct.unpack_from("<iiBBH", data, 2)
    assert (kind, subtype) == (2, 3) and 1 <= count <= 256
    at = 14 + 4 * count
    entries = [tuple(data[14 + 4 * i:18 + 4 * i]) for i in range(count)]
    pixels = []
    while len(pixels) < width * height:
        b = data[at]
        if b < 128:
            pixels.append(b)
            at += 1
        else:
            pixels += [data[at + 1]] * (b - 125)
            at += 2
    assert len(pixels) == width * height and at == len(data), "the run stream does not end with the file"
    return width, height, entries, pixels


def write_preview(path, pixels):
    from png_image import write_png

    entries = palette()

    def shown(x, y):
        t = entries[pixels[y * WIDTH + x]][0]
        return tuple(face * t // 255 for face in FACE)  # black ink over the face colour

    write_png(path, WIDTH, HEIGHT, shown)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "resources", "about.mbm"))
    parser.add_argument("--font", default=DEFAULT_FONT)
    parser.add_argument("--preview", help="also write the picture over a light grey face as this PNG file")
    args = parser.parse_args()

    if not os.path.isfile(args.font):
        print("make_about_picture: %s not found (Debian package fonts-dejavu-core)" % args.font,
              file=sys.stderr)
        return 2

    pixels = indices(coverage(fit(layout(TrueTypeFont(args.font)))))
    data = encode(pixels)
    assert decode(data) == (WIDTH, HEIGHT, palette(), pixels)
    with open(args.out, "wb") as f:
        f.write(data)
    if args.preview:
        write_preview(args.preview, pixels)
    return 0


if __name__ == "__main__":
    sys.exit(main())
