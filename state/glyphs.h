// Glyph tables as read from the six font files, and the coloured strips the
// data window copies its cells from.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vop {

// 1-bit tables: glyphs in order, rows from the top, bit 7 the leftmost pixel.
struct GlyphTables {
    std::array<std::uint8_t, 4096> font8x16{};
    std::array<std::uint8_t, 16384> font16x32{};
    std::array<std::uint8_t, 65536> font32x64{};
    std::array<std::uint8_t, 128> digits8x8{};
    std::array<std::uint8_t, 512> digits16x16{};
    std::array<std::uint8_t, 2048> digits32x32{};
};

// Every glyph of one set side by side, already coloured. Pixels are 32-bit
// 0x00RRGGBB, the layout of a top-down 32-bit device-independent bitmap.
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

}  // namespace vop
