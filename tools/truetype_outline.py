"""Reads glyph outlines, advance widths and pair kerning from a TrueType font (.ttf).

Only what the About picture generator needs is supported: the Windows Unicode
cmap (format 4), outlines from glyf/loca (simple glyphs, and composite glyphs
whose parts are placed by an x, y offset without scaling), advance widths from
hmtx and the old-style kern table (format 0). Hinting instructions are ignored.
Coordinates are font units, y pointing up.
"""

import struct

# Flags of a simple glyph's points.
ON_CURVE, X_SHORT, Y_SHORT, REPEAT, X_SAME_OR_POSITIVE, Y_SAME_OR_POSITIVE = 1, 2, 4, 8, 16, 32
# Flags of a composite glyph's parts.
ARGS_ARE_WORDS, ARGS_ARE_XY, HAS_SCALE, MORE_COMPONENTS, HAS_XY_SCALE, HAS_2X2 = 1, 2, 8, 32, 64, 128


class TrueTypeFont:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        count = struct.unpack_from(">H", self.data, 4)[0]
        self.tables = {}
        for i in range(count):
            tag, _, offset, length = struct.unpack_from(">4sIII", self.data, 12 + 16 * i)
            self.tables[tag.decode("latin-1")] = (offset, length)
        head = self.tables["head"][0]
        self.units_per_em = struct.unpack_from(">H", self.data, head + 18)[0]
        self.long_offsets = struct.unpack_from(">h", self.data, head + 50)[0] == 1
        self.glyph_count = struct.unpack_from(">H", self.data, self.tables["maxp"][0] + 4)[0]
        self.metric_count = struct.unpack_from(">H", self.data, self.tables["hhea"][0] + 34)[0]

    def glyph_id(self, codepoint):
        """The glyph of a code point in the Windows Unicode cmap, 0 (.notdef) if none."""
        cmap = self.tables["cmap"][0]
        for i in range(struct.unpack_from(">H", self.data, cmap + 2)[0]):
            platform, encoding, offset = struct.unpack_from(">HHI", self.data, cmap + 4 + 8 * i)
            table = cmap + offset
            if (platform, encoding) == (3, 1) and struct.unpack_from(">H", self.data, table)[0] == 4:
                return self._format4_lookup(table, codepoint)
        raise ValueError("the font has no Windows Unicode cmap of format 4")

    def _format4_lookup(self, table, codepoint):
        segments = struct.unpack_from(">H", self.data, table + 6)[0] // 2
        ends = table + 14
        starts = ends + 2 * segments + 2  # a reserved word follows the end codes
        deltas = starts + 2 * segments
        range_offsets = deltas + 2 * segments
        for s in range(segments):
            if struct.unpack_from(">H", self.data, ends + 2 * s)[0] < codepoint:
                continue
            start = struct.unpack_from(">H", self.data, starts + 2 * s)[0]
            if codepoint < start:
                return 0
            delta = struct.unpack_from(">h", self.data, deltas + 2 * s)[0]
            at = range_offsets + 2 * s
            range_offset = struct.unpack_from(">H", self.data, at)[0]
            if range_offset == 0:
                return (codepoint + delta) & 0xFFFF
            # The offset counts from its own place in the idRangeOffset array.
            gid = struct.unpack_from(">H", self.data, at + range_offset + 2 * (codepoint - start))[0]
            return (gid + delta) & 0xFFFF if gid else 0
        return 0

    def advance(self, gid):
        hmtx = self.tables["hmtx"][0]
        return struct.unpack_from(">H", self.data, hmtx + 4 * min(gid, self.metric_count - 1))[0]

    def kerning(self, left, right):
        """The horizontal kerning of a glyph pair in font units (0 without a kern table)."""
        if "kern" not in self.tables:
            return 0
        at = self.tables["kern"][0]
        total = 0
        for _ in range(struct.unpack_from(">H", self.data, at + 2)[0]):
            at += 4
            _, length, coverage = struct.unpack_from(">HHH", self.data, at)
            if coverage >> 8 == 0 and coverage & 1:  # format 0, horizontal
                pairs = struct.unpack_from(">H", self.data, at + 6)[0]
                for p in range(pairs):
                    l, r, value = struct.unpack_from(">HHh", self.data, at + 14 + 6 * p)
                    if (l, r) == (left, right):
                        total += value
            at += length - 4
        return total

    def _glyph_data(self, gid):
        loca = self.tables["loca"][0]
        if self.long_offsets:
            start, end = struct.unpack_from(">II", self.data, loca + 4 * gid)
        else:
            start, end = (2 * v for v in struct.unpack_from(">HH", self.data, loca + 2 * gid))
        return self.tables["glyf"][0] + start, end - start

    def contours(self, gid):
        """The glyph's closed contours, each a list of (x, y, on_curve) points."""
        at, length = self._glyph_data(gid)
        if length == 0:
            return []
        count = struct.unpack_from(">h", self.data, at)[0]
        if count < 0:
            return self._composite_contours(at + 10)
        ends = struct.unpack_from(">%dH" % count, self.data, at + 10)
        at += 10 + 2 * count
        at += 2 + struct.unpack_from(">H", self.data, at)[0]  # skip the instructions
        points = ends[-1] + 1 if count else 0
        flags = []
        while len(flags) < points:
            flag = self.data[at]
            at += 1
            repeat = 0
            if flag & REPEAT:
                repeat = self.data[at]
                at += 1
            flags += [flag] * (repeat + 1)
        xs, at = self._coordinates(flags, at, X_SHORT, X_SAME_OR_POSITIVE)
        ys, at = self._coordinates(flags, at, Y_SHORT, Y_SAME_OR_POSITIVE)
        result, first = [], 0
        for end in ends:
            result.append([(xs[i], ys[i], bool(flags[i] & ON_CURVE)) for i in range(first, end + 1)])
            first = end + 1
        return result

    def _coordinates(self, flags, at, short, same_or_positive):
        values, value = [], 0
        for flag in flags:
            if flag & short:
                step = self.data[at]
                at += 1
                value += step if flag & same_or_positive else -step
            elif not flag & same_or_positive:
                value += struct.unpack_from(">h", self.data, at)[0]
                at += 2
            values.append(value)
        return values, at

    def _composite_contours(self, at):
        result = []
        while True:
            flags, part = struct.unpack_from(">HH", self.data, at)
            at += 4
            if flags & ARGS_ARE_WORDS:
                dx, dy = struct.unpack_from(">hh", self.data, at)
                at += 4
            else:
                dx, dy = struct.unpack_from(">bb", self.data, at)
                at += 2
            if not flags & ARGS_ARE_XY or flags & (HAS_SCALE | HAS_XY_SCALE | HAS_2X2):
                raise ValueError("composite glyph parts that are scaled or matched by point are not supported")
            for contour in self.contours(part):
                result.append([(x + dx, y + dy, on) for x, y, on in contour])
            if not flags & MORE_COMPONENTS:
                return result


def flatten(contour, steps):
    """A closed polygon through the contour, each quadratic curve cut into `steps` lines.

    Between two off-curve points lies an implied on-curve point halfway between them."""
    if not any(on for _, _, on in contour):
        first = contour[0]
        second = contour[1]
        contour = [((first[0] + second[0]) / 2, (first[1] + second[1]) / 2, True)] + contour
    start = next(i for i, p in enumerate(contour) if p[2])
    ring = contour[start:] + contour[:start]
    polygon = [(float(ring[0][0]), float(ring[0][1]))]
    current = polygon[0]
    control = None
    for x, y, on in ring[1:] + ring[:1]:
        if on:
            target = (float(x), float(y))
            if control is None:
                polygon.append(target)
            else:
                polygon += _quadratic(current, control, target, steps)
            current, control = target, None
        elif control is None:
            control = (float(x), float(y))
        else:
            middle = ((control[0] + x) / 2, (control[1] + y) / 2)
            polygon += _quadratic(current, control, middle, steps)
            current, control = middle, (float(x), float(y))
    return polygon[:-1]  # the last point repeats the first


def _quadratic(p0, p1, p2, steps):
    points = []
    for k in range(1, steps + 1):
        t = k / steps
        a, b, c = (1 - t) * (1 - t), 2 * (1 - t) * t, t * t
        points.append((a * p0[0] + b * p1[0] + c * p2[0], a * p0[1] + b * p1[1] + c * p2[1]))
    return points
