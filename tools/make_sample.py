#!/usr/bin/env python3
"""Generates resources/sample.bin, the small file Vop opens when started
without a path, so that a new user sees the editor at work at once.

Sections, each starting on a 256-byte boundary so that rows of 16 to 256
bytes line up with them:
  0x0000  a few lines of text about Vop (CR LF line ends, for the text view)
  0x0400  every byte value 00..FF in order, twice: once ascending, once descending
  0x0600  a small record table, little-endian, as a binary file format might hold it
  0x0800  a sine table of 256 signed bytes
  0x0900  a run of 00 and a run of FF (unwritten and erased storage)
  0x0A00  a repeated word to search for and replace

Deterministic: the same bytes on every run.
Usage: make_sample.py [--out FILE]
"""

import argparse
import math
import os
import struct
import sys

TEXT = (
    "Vop - a small, fast hex editor\r\n"
    "==============================\r\n"
    "\r\n"
    "This is Vop's sample file. Every byte below is shown as its character\r\n"
    "(font type Ascii) or as two hexadecimal digits stacked in one cell\r\n"
    "(font type Hex). Move with the arrow keys, Page Up and Page Down;\r\n"
    "type over any byte, then save with File/Save.\r\n"
    "\r\n"
    "At 0x0400 you find every byte value from 00 to FF, at 0x0600 a small\r\n"
    "record table, at 0x0800 a sine wave, at 0x0900 runs of 00 and FF, and\r\n"
    "at 0x0A00 the word needle many times: find it (F7), find the next one\r\n"
    "(F3) or replace it (Ctrl+F7). F5 jumps to an address; F4 changes the\r\n"
    "view: characters, stacked hex digits, text lines.\r\n"
    "\r\n"
    "Tabs\tare\tshown\tas\tfour\tcells in the text view.\r\n"
)


def pad_to(data, boundary, fill=0x20):
    rest = (-len(data)) % boundary
    return data + bytes([fill]) * rest


def record_table():
    names = [b"header", b"palette", b"glyphs", b"strings", b"sounds", b"end"]
    out = bytearray(b"VOPS")
    out += struct.pack("<HHI", 1, len(names), 0x0600 + 16 + 24 * len(names))
    out += b"\0" * 4
    offset = 0x1000
    for i, name in enumerate(names):
        length = 0x40 << i
        out += struct.pack("<IIHH", offset, length, i, 0xA55A)
        out += name.ljust(12, b"\0")
        offset += length
    return bytes(out)


def sine_table():
    return bytes((round(127 * math.sin(2 * math.pi * i / 256)) & 0xFF) for i in range(256))


def build():
    sections = [
        (0x0000, pad_to(TEXT.encode("ascii"), 0x400)),
        (0x0400, bytes(range(256)) + bytes(range(255, -1, -1))),
        (0x0600, pad_to(record_table(), 0x200, 0)),
        (0x0800, sine_table()),
        (0x0900, bytes(128) + b"\xff" * 128),
        (0x0A00, pad_to(b"needle in a haystack; " * 20, 0x200, 0x2E)),
    ]
    data = b""
    for start, body in sections:
        assert len(data) == start, "section at 0x%04X starts at 0x%04X" % (start, len(data))
        data += body
    return data


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "resources", "sample.bin"))
    args = parser.parse_args()
    with open(args.out, "wb") as f:
        f.write(build())
    return 0


if __name__ == "__main__":
    sys.exit(main())
