#include "view/glyph_lines.h"

#include "state/cell_metrics.h"

namespace vop {

std::vector<GlyphStroke> GlyphLineStrokes(const GlyphTables& tables, int x, int y, std::uint8_t code,
                                          std::uint8_t fontCell) {
    constexpr int GlyphRows = 16;
    constexpr int GlyphColumns = 8;
    const int scale = CellWidth(fontCell) / GlyphColumns;  // 1, 2 or 4
    const std::uint8_t* glyph = tables.font8x16.data() + static_cast<std::size_t>(code) * GlyphRows;

    std::vector<GlyphStroke> strokes;
    for (int r = 0; r < GlyphRows; ++r) {
        const std::uint8_t bits = glyph[r];
        if (bits == 0) continue;
        for (int c = 0; c < GlyphColumns; ++c) {
            if (!(bits & (0x80u >> c))) continue;
            const int px = x + scale * c;
            const int py = y + scale * r;
            if (scale == 1) {
                // A one-step diagonal sets exactly its start pixel.
                strokes.push_back({px, py, px + 1, py + 1});
            } else {
                for (int i = 0; i < scale; ++i) strokes.push_back({px, py + i, px + scale, py + i});
            }
        }
    }
    return strokes;
}

}  // namespace vop
