"""Reads the bitmap strikes of an OpenType bitmap font (.otb) such as Terminus Font.

Only what the font generator needs is supported: the Windows Unicode cmap
(format 4) and EBLC/EBDT strikes whose glyphs are stored as constant-size,
bit-aligned images (index format 2, image format 5), which is how the Debian
package fonts-terminus-otb ships every strike.
"""

import struct


class Glyph:
    """A monochrome picture; rows[y] holds pixel x in bit (width - 1 - x)."""

    def __init__(self, width, height, rows=None):
        self.width = width
        self.height = height
        self.rows = list(rows) if rows is not None else [0] * height

    def pixel(self, x, y):
        return (self.rows[y] >> (self.width - 1 - x)) & 1

    def set(self, x, y, on=1):
        bit = 1 << (self.width - 1 - x)
        if on:
            self.rows[y] |= bit
        else:
            self.rows[y] &= ~bit

    def copy(self):
        return Glyph(self.width, self.height, self.rows)

    def ink(self):
        return sum(bin(r).count("1") for r in self.rows)

    def __eq__(self, other):
        return (self.width, self.height, self.rows) == (other.width, other.height, other.rows)

    def __hash__(self):
        return hash((self.width, self.height, tuple(self.rows)))


class Strike:
    def __init__(self, width, height, glyphs):
        self.width = width
        self.height = height
        self.glyphs = glyphs  # glyph id -> Glyph


class BitmapFont:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        self.tables = self._table_directory()
        self.cmap = self._read_cmap()
        self.strikes = self._read_strikes()

    def glyph(self, size, codepoint):
        """The glyph of a code point in the strike of that pixel size, or None."""
        gid = self.cmap.get(codepoint)
        if gid is None:
            return None
        glyph = self.strikes[size].glyphs.get(gid)
        return glyph.copy() if glyph is not None else None

    def _table_directory(self):
        d = self.data
        (count,) = struct.unpack(">H", d[4:6])
        tables = {}
        for i in range(count):
            tag, _, offset, length = struct.unpack(">4sIII", d[12 + 16 * i:28 + 16 * i])
            tables[tag.decode("latin-1")] = (offset, length)
        return tables

    def _read_cmap(self):
        d = self.data
        base, _ = self.tables["cmap"]
        _, count = struct.unpack(">HH", d[base:base + 4])
        for i in range(count):
            platform, encoding, offset = struct.unpack(">HHI", d[base + 4 + 8 * i:base + 12 + 8 * i])
            if (platform, encoding) == (3, 1):
                return self._read_cmap_format4(base + offset)
        raise ValueError("font has no Windows Unicode cmap")

    def _read_cmap_format4(self, at):
        d = self.data
        fmt, _, _, seg_x2 = struct.unpack(">HHHH", d[at:at + 8])
        if fmt != 4:
            raise ValueError("unsupported cmap format %d" % fmt)
        segs = seg_x2 // 2
        ends_at = at + 14
        starts_at = ends_at + seg_x2 + 2
        deltas_at = starts_at + seg_x2
        range_offsets_at = deltas_at + seg_x2
        mapping = {}
        for s in range(segs):
            end, = struct.unpack(">H", d[ends_at + 2 * s:ends_at + 2 * s + 2])
            start, = struct.unpack(">H", d[starts_at + 2 * s:starts_at + 2 * s + 2])
            delta, = struct.unpack(">h", d[deltas_at + 2 * s:deltas_at + 2 * s + 2])
            ro_pos = range_offsets_at + 2 * s
            range_offset, = struct.unpack(">H", d[ro_pos:ro_pos + 2])
            for cp in range(start, end + 1):
                if cp == 0xFFFF:
                    continue
                if range_offset == 0:
                    gid = (cp + delta) & 0xFFFF
                else:
                    pos = ro_pos + range_offset + 2 * (cp - start)
                    gid, = struct.unpack(">H", d[pos:pos + 2])
                    if gid:
                        gid = (gid + delta) & 0xFFFF
                if gid:
                    mapping[cp] = gid
        return mapping

    def _read_strikes(self):
        d = self.data
        eblc, _ = self.tables["EBLC"]
        ebdt, _ = self.tables["EBDT"]
        _, count = struct.unpack(">II", d[eblc:eblc + 8])
        strikes = {}
        for i in range(count):
            rec = eblc + 8 + 48 * i
            array_offset, _, subtables, _ = struct.unpack(">IIII", d[rec:rec + 16])
            ppem_y = d[rec + 45]
            bit_depth = d[rec + 46]
            if bit_depth != 1:
                continue
            glyphs = {}
            width = height = 0
            for j in range(subtables):
                entry = eblc + array_offset + 8 * j
                first, last, extra = struct.unpack(">HHI", d[entry:entry + 8])
                sub = eblc + array_offset + extra
                index_format, image_format, image_offset = struct.unpack(">HHI", d[sub:sub + 8])
                if index_format != 2 or image_format != 5:
                    continue  # only the .notdef glyph is stored otherwise
                image_size, = struct.unpack(">I", d[sub + 8:sub + 12])
                h, w = d[sub + 12], d[sub + 13]
                width, height = w, h
                for gid in range(first, last + 1):
                    at = ebdt + image_offset + (gid - first) * image_size
                    bits = int.from_bytes(d[at:at + image_size], "big")
                    total = image_size * 8
                    rows = []
                    for y in range(h):
                        shift = total - (y + 1) * w
                        rows.append((bits >> shift) & ((1 << w) - 1))
                    glyphs[gid] = Glyph(w, h, rows)
            strikes[ppem_y] = Strike(width, height, glyphs)
        return strikes
