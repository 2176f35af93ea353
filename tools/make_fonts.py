#!/usr/bin/env python3
"""Generates Vop's six bitmap font files from Terminus Font.

Source: the Debian package fonts-terminus-otb (SIL Open Font License 1.1),
files terminus-normal.otb and terminus-bold.otb. The output is deterministic:
running this again on the same source reproduces the committed files byte
for byte (tools/check_fonts_reproducible.sh verifies that).

File format: no header; glyphs in index order; each glyph's rows from the top;
each row 1, 2 or 4 bytes from the left; bit 7 of a byte is its leftmost pixel.

    font.fnt    256 glyphs  8 x 16   Terminus 16 (normal)
    font1.fnt   256 glyphs 16 x 32   Terminus 32 (normal)
    font2.fnt   256 glyphs 32 x 64   font1 enlarged 2x
    digits.fnt   16 glyphs  8 x 8    Terminus 12 (normal), two rows taken out
    digits1.fnt  16 glyphs 16 x 16   Terminus 18 (bold)
    digits2.fnt  16 glyphs 32 x 32   digits1 enlarged 2x

Byte values show code page 437's pictures (smileys, card suits, arrows,
accented letters, box drawing...). CP437 leaves 0x00 and 0xFF blank, which
would make them look like the space, so they get pictures of their own:
0x00 a dotted hollow square, 0xFF a solid hollow square of the same size.

Digit glyphs are drawn two to a cell, the low digit CellInset pixels higher
than a full digit cell below the high one, so it covers the high digit's last
CellInset rows (1 of 8, 2 of 16, 4 of 32). The digits therefore keep those
rows blank and leave one more blank row above them, which keeps the two
digits of a byte apart.

Usage: make_fonts.py [--out DIR] [--preview DIR] [--source-dir DIR]
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from terminus_otb import BitmapFont, Glyph  # noqa: E402

DEFAULT_SOURCE_DIR = "/usr/share/fonts/opentype/terminus"
NORMAL_FONT = "terminus-normal.otb"
BOLD_FONT = "terminus-bold.otb"

# Code page 437 as Unicode. 0x00 and 0xFF are drawn here (None).
CP437 = (
    [None]
    + list("\u263a\u263b\u2665\u2666\u2663\u2660\u2022\u25d8\u25cb\u25d9\u2642\u2640\u266a\u266b\u263c"
           "\u25ba\u25c4\u2195\u203c\u00b6\u00a7\u25ac\u21a8\u2191\u2193\u2192\u2190\u221f\u2194\u25b2\u25bc")
    + [chr(c) for c in range(0x20, 0x7F)]
    + ["\u2302"]
    + list("ÇüéâäàåçêëèïîìÄÅ"
           "ÉæÆôöòûùÿÖÜ¢£¥₧ƒ"
           "áíóúñÑªº¿⌐¬½¼¡«»"
           "░▒▓│┤╡╢╖╕╣║╗╝╜╛┐"
           "└┴┬├─┼╞╟╚╔╩╦╠═╬╧"
           "╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀"
           "αßΓπΣσµτΦΘΩδ∞φε∩"
           "≡±≥≤⌠⌡÷≈°∙·√ⁿ²■")
    + [None]
)
assert len(CP437) == 256

# The 8 x 16 pictures of the two byte values CP437 leaves blank.
NUL_PICTURE_8X16 = [
    "........",
    "........",
    "........",
    "........",
    "........",
    ".#.#.#..",
    "........",
    ".#...#..",
    "........",
    ".#...#..",
    "........",
    ".#.#.#..",
    "........",
    "........",
    "........",
    "........",
]
FF_PICTURE_8X16 = [
    "........",
    "........",
    "........",
    "........",
    "........",
    ".#####..",
    ".#...#..",
    ".#...#..",
    ".#...#..",
    ".#...#..",
    ".#...#..",
    ".#####..",
    "........",
    "........",
    "........",
    "........",
]

# Digits at 8 x 8 come from Terminus 12, whose digits are 5 x 8. Two of the
# eight rows are taken out where the stroke runs straight, so the digit is
# 6 rows high: rows 1-6 of the cell, with row 0 blank as the gap above and
# row 7 blank because the low digit covers it.
DIGIT_ROWS_KEPT_8X8 = {
    "0": (0, 1, 2, 3, 4, 7),
    "2": (0, 1, 4, 5, 6, 7),
    "4": (1, 2, 3, 4, 5, 7),
    "7": (0, 1, 3, 5, 6, 7),
    "C": (0, 1, 2, 5, 6, 7),
    "D": (0, 1, 2, 5, 6, 7),
}
DIGIT_ROWS_KEPT_DEFAULT = (0, 1, 3, 4, 6, 7)

# Three digits redrawn at 8 x 8: with only six rows, Terminus' round-topped
# 3 and its 6 and 9 differ from the 8 by two pixels. A flat-topped 3 and a
# hooked 6 and 9 (Terminus' larger sizes hook them too) tell them apart.
DIGIT_PICTURES_8X8 = {
    "3": ["#####", "...#.", "..##.", "....#", "#...#", ".###."],
    "6": ["..##.", ".#...", "####.", "#...#", "#...#", ".###."],
    "9": [".###.", "#...#", "#...#", ".####", "...#.", ".##.."],
}

HEX_DIGITS = "0123456789ABCDEF"


def picture(lines):
    glyph = Glyph(len(lines[0]), len(lines))
    for y, line in enumerate(lines):
        for x, ch in enumerate(line):
            if ch == "#":
                glyph.set(x, y)
    return glyph


def enlarge(glyph, factor=2):
    big = Glyph(glyph.width * factor, glyph.height * factor)
    for y in range(big.height):
        for x in range(big.width):
            if glyph.pixel(x // factor, y // factor):
                big.set(x, y)
    return big


def place(glyph, width, height, left, top):
    """The glyph's picture moved by (left, top) into a blank cell of the given size."""
    cell = Glyph(width, height)
    for y in range(glyph.height):
        for x in range(glyph.width):
            if glyph.pixel(x, y):
                cx, cy = x + left, y + top
                if not (0 <= cx < width and 0 <= cy < height):
                    raise ValueError("ink falls outside the cell")
                cell.set(cx, cy)
    return cell


def ink_box(glyph):
    xs = [x for y in range(glyph.height) for x in range(glyph.width) if glyph.pixel(x, y)]
    ys = [y for y in range(glyph.height) for x in range(glyph.width) if glyph.pixel(x, y)]
    return min(xs), min(ys), max(xs), max(ys)


def narrow_upper_bowl(glyph, top, rows):
    """Moves the right stroke of the given rows one pixel in, so that a B's
    upper bowl is smaller than its lower one and the B no longer differs from
    the 8 by its left corners alone."""
    half = glyph.width // 2
    right_mask = (1 << (glyph.width - half)) - 1
    for y in range(top, top + rows):
        row = glyph.rows[y]
        right = row & right_mask
        glyph.rows[y] = (row & ~right_mask) | ((right << 1) & ((1 << glyph.width) - 1))
    return glyph


def overhanging_pi(glyph, stroke):
    """Terminus draws the small pi as a square arch that differs from the n
    by a single corner; moving both legs in under the bar gives the usual pi."""
    half = glyph.width // 2
    full = (1 << glyph.width) - 1
    right_mask = (1 << (glyph.width - half)) - 1
    left_mask = full & ~right_mask
    _, top, _, _ = ink_box(glyph)
    for y in range(top + stroke, glyph.height):
        row = glyph.rows[y]
        left = (row & left_mask) >> stroke & left_mask
        right = (row & right_mask) << stroke & right_mask
        glyph.rows[y] = left | right
    return glyph


def source_glyph(font, size, code):
    ch = CP437[code]
    glyph = font.glyph(size, ord(ch))
    if glyph is None:
        raise SystemExit("the source font has no U+%04X (%s) for byte 0x%02X at size %d"
                         % (ord(ch), ch, code, size))
    return glyph


def character_set_8x16(normal):
    glyphs = [source_glyph(normal, 16, c) if CP437[c] else None for c in range(256)]
    glyphs[0x00] = picture(NUL_PICTURE_8X16)
    glyphs[0xFF] = picture(FF_PICTURE_8X16)
    glyphs[0xE3] = overhanging_pi(glyphs[0xE3], 1)
    return glyphs


def character_set_16x32(normal):
    glyphs = [source_glyph(normal, 32, c) if CP437[c] else None for c in range(256)]
    # Terminus 32 strokes are two pixels wide, so the hand-drawn pictures are
    # enlarged from their 8 x 16 form to match.
    glyphs[0x00] = enlarge(picture(NUL_PICTURE_8X16))
    glyphs[0xFF] = enlarge(picture(FF_PICTURE_8X16))
    glyphs[0xE3] = overhanging_pi(glyphs[0xE3], 2)
    # Terminus 32 draws the ring (0x09, and 0x0A inverted) as the bullet
    # (0x07) with a 2 x 2 hole; the 8 x 16 ring enlarged has a hole twice as
    # wide and reads as a ring at a glance.
    glyphs[0x09] = enlarge(source_glyph(normal, 16, 0x09))
    glyphs[0x0A] = enlarge(source_glyph(normal, 16, 0x0A))
    return glyphs


def digit_set_8x8(normal):
    glyphs = []
    for d in HEX_DIGITS:
        source = normal.glyph(12, ord(d))  # 6 x 12, ink in columns 0-4, rows 2-9
        _, top, _, bottom = ink_box(source)
        assert bottom - top == 7, "Terminus 12 digits are expected to be 8 rows high"
        if d in DIGIT_PICTURES_8X8:
            squeezed = picture(DIGIT_PICTURES_8X8[d])
        else:
            kept = DIGIT_ROWS_KEPT_8X8.get(d, DIGIT_ROWS_KEPT_DEFAULT)
            squeezed = Glyph(source.width, len(kept), [source.rows[top + r] for r in kept])
        if d == "B":
            narrow_upper_bowl(squeezed, 0, 2)
        glyphs.append(place(squeezed, 8, 8, 1, 1))
    return glyphs


def digit_set_16x16(bold):
    glyphs = []
    for d in HEX_DIGITS:
        source = bold.glyph(18, ord(d))  # 10 x 18, ink in columns 1-8, rows 3-14
        left, top, right, bottom = ink_box(source)
        assert bottom - top == 11, "Terminus Bold 18 digits are expected to be 12 rows high"
        if d == "B":
            narrow_upper_bowl(source, top, 5)
        # Ink rows 2-13 of the cell, centred across the 16 columns.
        glyphs.append(place(source, 16, 16, 4 - 1, 2 - top))
    return glyphs


def encode(glyphs):
    out = bytearray()
    for g in glyphs:
        for row in g.rows:
            out += row.to_bytes(g.width // 8, "big")
    return bytes(out)


def build_all(source_dir):
    normal = BitmapFont(os.path.join(source_dir, NORMAL_FONT))
    bold = BitmapFont(os.path.join(source_dir, BOLD_FONT))
    chars0 = character_set_8x16(normal)
    chars1 = character_set_16x32(normal)
    chars2 = [enlarge(g) for g in chars1]
    digits0 = digit_set_8x8(normal)
    digits1 = digit_set_16x16(bold)
    digits2 = [enlarge(g) for g in digits1]
    return {
        "font.fnt": chars0,
        "font1.fnt": chars1,
        "font2.fnt": chars2,
        "digits.fnt": digits0,
        "digits1.fnt": digits1,
        "digits2.fnt": digits2,
    }


COVERED_ROWS = {"digits.fnt": 1, "digits1.fnt": 2, "digits2.fnt": 4}


def problems(sets):
    """Everything that would make a glyph unreadable or ambiguous on screen."""
    found = []
    for name, glyphs in sets.items():
        seen = {}
        for index, g in enumerate(glyphs):
            if name.startswith("font") and index == 0x20:
                if g.ink():
                    found.append("%s: the space has ink" % name)
                continue
            if not g.ink():
                found.append("%s: glyph 0x%02X is blank" % (name, index))
            if g in seen:
                found.append("%s: glyphs 0x%02X and 0x%02X look the same" % (name, seen[g], index))
            seen.setdefault(g, index)
            if name.startswith("font") and index == 0xDD:
                # The left half block, as written, must ink the left half of
                # every row: bit 7 of each byte is the leftmost pixel.
                half = ((1 << (g.width // 2)) - 1) << (g.width // 2)
                packed, step = encode([g]), g.width // 8
                if any(int.from_bytes(packed[r * step:(r + 1) * step], "big") != half for r in range(g.height)):
                    found.append("%s: the left half block is not drawn on the left: bit order" % name)
            covered = COVERED_ROWS.get(name, 0)
            if covered and any(g.rows[g.height - covered:]):
                found.append("%s: digit %X draws in the rows the low digit covers" % (name, index))
    return found


def write_preview(sets, folder):
    from png_image import Canvas

    os.makedirs(folder, exist_ok=True)
    ink, paper = (0, 0, 0), (255, 255, 255)
    for name in ("font.fnt", "font1.fnt", "font2.fnt"):
        glyphs = sets[name]
        w, h = glyphs[0].width, glyphs[0].height
        gap = 2
        canvas = Canvas(16 * (w + gap) + gap, 16 * (h + gap) + gap, (160, 160, 160))
        for i, g in enumerate(glyphs):
            canvas.draw(g, gap + (i % 16) * (w + gap), gap + (i // 16) * (h + gap), ink, paper)
        canvas.save(os.path.join(folder, name.replace(".fnt", ".png")), 4 if w == 8 else 2 if w == 16 else 1)

    # Stacked pairs drawn the way the hex view draws a byte.
    sample = [0x4A, 0x00, 0xFF, 0x8B, 0x12, 0x3C, 0x56, 0x7D, 0x9E, 0xEF, 0xB0, 0xC1, 0xD8, 0x69]
    for name, chars in (("digits.fnt", "font.fnt"), ("digits1.fnt", "font1.fnt"), ("digits2.fnt", "font2.fnt")):
        digits = sets[name]
        cw = digits[0].width
        inset = {8: 1, 16: 2, 32: 4}[cw]
        rows = 3
        address = "0001A2F0: "
        columns = len(address) + len(sample)
        canvas = Canvas(inset + columns * cw, rows * 2 * cw, paper)
        for r in range(rows):
            y = r * 2 * cw
            for c, ch in enumerate(address):
                canvas.draw(sets[chars][ord(ch)], inset + c * cw, y, ink, paper)
            for k, b in enumerate(sample[r:] + sample[:r]):
                x = inset + (len(address) + k) * cw
                canvas.draw(digits[b >> 4], x, y, ink, paper)
                canvas.draw(digits[b & 15], x, y + cw - inset, ink, paper)
        canvas.save(os.path.join(folder, "stacked_" + name.replace(".fnt", ".png")), 4 if cw == 8 else 2 if cw == 16 else 1)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "resources", "fonts"))
    parser.add_argument("--source-dir", default=DEFAULT_SOURCE_DIR)
    parser.add_argument("--preview", help="also write PNG pictures of the glyphs into this folder")
    args = parser.parse_args()

    for f in (NORMAL_FONT, BOLD_FONT):
        if not os.path.isfile(os.path.join(args.source_dir, f)):
            print("make_fonts: %s not found in %s (Debian package fonts-terminus-otb)"
                  % (f, args.source_dir), file=sys.stderr)
            return 2

    sets = build_all(args.source_dir)
    trouble = problems(sets)
    if trouble:
        print("\n".join(trouble), file=sys.stderr)
        return 1
    os.makedirs(args.out, exist_ok=True)
    for name, glyphs in sets.items():
        with open(os.path.join(args.out, name), "wb") as f:
            f.write(encode(glyphs))
    if args.preview:
        write_preview(sets, args.preview)
    return 0


if __name__ == "__main__":
    sys.exit(main())
