// The coloured glyph strips: every character glyph (and every hex digit) of
// the current FontCell side by side, already in the foreground and background
// colours, so that painting is a series of cell copies. Pixels are 32-bit
// 0x00RRGGBB, the layout of a top-down 32-bit device-independent bitmap.
#pragma once

#include <cstdint>
#include <vector>

namespace vop {

struct GlyphTables;

struct GlyphStrip {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // row-major, width × height

    bool empty() const { return pixels.empty(); }
    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
};

struct GlyphStrips {
    GlyphStrip text;   // 256 glyphs of CellWidth × CellHeight
    GlyphStrip digit;  // 16 glyphs of CellWidth × CellWidth
    std::uint8_t fontCell = 0;
};

// 0x00BBGGRR (the settings' colour value) to the strips' 0x00RRGGBB.
inline std::uint32_t ColourToPixel(std::uint32_t colour) {
    return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

void BuildGlyphStrips(GlyphStrips& strips, const GlyphTables& tables, std::uint8_t fontCell,
                      std::uint32_t foreground, std::uint32_t background);
void FreeGlyphStrips(GlyphStrips& strips);

}  // namespace vop
