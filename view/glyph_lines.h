// A character drawn straight from the 8 × 16 glyph table with pen strokes,
// enlarged to the cell size of a FontCell. The entry fields use it; the data
// area copies from the glyph strips instead.
#pragma once

#include <cstdint>
#include <vector>

#include "state/editor_state.h"

namespace vop {

// A pen stroke from (x0, y0) to (x1, y1); the end point itself is not drawn.
struct GlyphStroke {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    bool operator==(const GlyphStroke& o) const { return x0 == o.x0 && y0 == o.y0 && x1 == o.x1 && y1 == o.y1; }
};

// The strokes that paint `code` with its top-left corner at (x, y): every ink
// pixel of the 8 × 16 glyph becomes a 1 × 1, 2 × 2 or 4 × 4 block for FontCell
// 0, 1 or 2 (any other FontCell counts as 2). Background pixels draw nothing.
std::vector<GlyphStroke> GlyphLineStrokes(const GlyphTables& tables, int x, int y, std::uint8_t code,
                                          std::uint8_t fontCell);

}  // namespace vop
