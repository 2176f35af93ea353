#!/usr/bin/env python3
"""Generates resources/vop.ico, the program icon "Vop_Icon".

One 32 x 32 image, 16 colours (4 bits per pixel, the standard VGA palette),
with an AND mask for the rounded corners. The picture is a blue tile showing
two bytes the way Vop's hex view shows them, each as two hexadecimal digits
stacked in one cell: 0F in white, and 4A under a yellow block caret.

Usage: make_icon.py [--out FILE] [--preview PNG]
"""

import argparse
import os
import struct
import sys

# The 16 colours of the VGA palette, in the order Windows numbers them.
VGA_PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, NAVY, GRAY, YELLOW, BLUE, WHITE = 0, 4, 8, 11, 12, 15

SIZE = 32

# Vop's 16 x 16 hexadecimal digits (2-pixel strokes), ink part only: 8 x 12.
DIGITS = {
    "0": [".######.", "##....##", "##....##", "##...###", "##..####", "##.##.##",
          "####..##", "###...##", "##....##", "##....##", "##....##", ".######."],
    "F": ["########", "##......", "##......", "##......", "##......", "######..",
          "##......", "##......", "##......", "##......", "##......", "##......"],
    "4": ["......##", ".....###", "....####", "...##.##", "..##..##", ".##...##",
          "##....##", "##....##", "########", "......##", "......##", "......##"],
    "A": [".######.", "##....##", "##....##", "##....##", "##....##", "##....##",
          "########", "##....##", "##....##", "##....##", "##....##", "##....##"],
}


def inside_tile(x, y):
    """The tile fills the square but for rounded corners of radius 3."""
    r = 3
    cx = min(max(x, r), SIZE - 1 - r)
    cy = min(max(y, r), SIZE - 1 - r)
    dx, dy = x - cx, y - cy
    return dx * dx + dy * dy <= r * r + 1


def on_tile_edge(x, y):
    if not inside_tile(x, y):
        return False
    return any(not inside_tile(x + dx, y + dy) if 0 <= x + dx < SIZE and 0 <= y + dy < SIZE else True
               for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))


def picture():
    """Colour index per pixel (rows from the top), and which pixels are transparent."""
    colour = [[BLACK] * SIZE for _ in range(SIZE)]
    clear = [[True] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            if inside_tile(x, y):
                clear[y][x] = False
                colour[y][x] = NAVY if on_tile_edge(x, y) else BLUE

    # The caret cell behind the second byte.
    for y in range(2, 30):
        for x in range(17, 29):
            colour[y][x] = YELLOW

    def draw(digit, left, top, ink):
        for dy, row in enumerate(DIGITS[digit]):
            for dx, ch in enumerate(row):
                if ch == "#":
                    colour[top + dy][left + dx] = ink

    # Each byte is a stacked pair: the high digit above, the low one below.
    draw("0", 5, 3, WHITE)
    draw("F", 5, 17, WHITE)
    draw("4", 19, 3, NAVY)
    draw("A", 19, 17, NAVY)
    return colour, clear


def encode_ico(colour, clear):
    xor_rows = []
    and_rows = []
    for y in reversed(range(SIZE)):  # bitmaps are stored bottom row first
        row = bytearray()
        for x in range(0, SIZE, 2):
            row.append((colour[y][x] << 4) | colour[y][x + 1])
        xor_rows.append(bytes(row))
        mask = 0
        for x in range(SIZE):
            mask = (mask << 1) | (1 if clear[y][x] else 0)
        and_rows.append(mask.to_bytes(SIZE // 8, "big"))
    xor = b"".join(xor_rows)
    and_mask = b"".join(and_rows)

    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0,
                         len(xor) + len(and_mask), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in VGA_PALETTE)
    image = header + palette + xor + and_mask

    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return icondir + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "resources", "vop.ico"))
    parser.add_argument("--preview", help="also write an enlarged PNG of the icon on a gray ground")
    args = parser.parse_args()

    colour, clear = picture()
    with open(args.out, "wb") as f:
        f.write(encode_ico(colour, clear))
    if args.preview:
        sys.path.insert(0, here)
        from png_image import write_png

        scale = 8

        def pixel(x, y):
            px, py = x // scale, y // scale
            if clear[py][px]:
                return (0xA0, 0xA0, 0xA0)
            return VGA_PALETTE[colour[py][px]]

        write_png(args.preview, SIZE * scale, SIZE * scale, pixel)
    return 0


if __name__ == "__main__":
    sys.exit(main())
