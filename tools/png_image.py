"""Writes small RGB pictures as PNG files (standard library only); used for previews."""

import struct
import zlib


def write_png(path, width, height, pixel):
    """pixel(x, y) returns an (r, g, b) tuple."""
    raw = bytearray()
    for y in range(height):
        raw.append(0)  # filter type None
        for x in range(width):
            raw.extend(pixel(x, y))

    def chunk(tag, body):
        return (struct.pack(">I", len(body)) + tag + body
                + struct.pack(">I", zlib.crc32(tag + body) & 0xFFFFFFFF))

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


class Canvas:
    """A picture of glyphs laid out on a grid, for looking at fonts."""

    def __init__(self, width, height, background=(0, 0, 0)):
        self.width = width
        self.height = height
        self.px = [[background] * width for _ in range(height)]

    def draw(self, glyph, left, top, colour=(255, 255, 255), background=None):
        for y in range(glyph.height):
            for x in range(glyph.width):
                if 0 <= left + x < self.width and 0 <= top + y < self.height:
                    if glyph.pixel(x, y):
                        self.px[top + y][left + x] = colour
                    elif background is not None:
                        self.px[top + y][left + x] = background

    def save(self, path, scale=1):
        write_png(path, self.width * scale, self.height * scale,
                  lambda x, y: self.px[y // scale][x // scale])
