#include "view/glyph_strips.h"

#include "state/cell_metrics.h"

namespace vop {
namespace {

// Colours one strip from a 1-bit table: glyph g's pixel (x, y) is bit
// 7 − x mod 8 of byte g·bytesPerGlyph + y·bytesPerRow + x div 8.
void FillStrip(GlyphStrip& strip, const std::uint8_t* table, int glyphs, int glyphWidth, int glyphHeight,
               std::uint32_t ink, std::uint32_t paper) {
    strip.width = glyphs * glyphWidth;
    strip.height = glyphHeight;
    strip.pixels.assign(static_cast<std::size_t>(strip.width) * static_cast<std::size_t>(strip.height), paper);
    const int bytesPerRow = glyphWidth / 8;
    const int bytesPerGlyph = bytesPerRow * glyphHeight;
    for (int g = 0; g < glyphs; ++g) {
        for (int y = 0; y < glyphHeight; ++y) {
            const std::uint8_t* row = table + g * bytesPerGlyph + y * bytesPerRow;
            std::uint32_t* out = strip.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(strip.width) +
                                 static_cast<std::size_t>(g * glyphWidth);
            for (int x = 0; x < glyphWidth; ++x)
                if (row[x >> 3] & (0x80u >> (x & 7))) out[x] = ink;
        }
    }
}

}  // namespace

void BuildGlyphStrips(GlyphStrips& strips, const GlyphTables& t, std::uint8_t fontCell, std::uint32_t foreground,
                      std::uint32_t background) {
    const std::uint32_t ink = ColourToPixel(foreground);
    const std::uint32_t paper = ColourToPixel(background);
    const int cw = CellWidth(fontCell);
    const std::uint8_t* text = fontCell == 0 ? t.font8x16.data() : (fontCell == 1 ? t.font16x32.data() : t.font32x64.data());
    const std::uint8_t* digits =
        fontCell == 0 ? t.digits8x8.data() : (fontCell == 1 ? t.digits16x16.data() : t.digits32x32.data());
    FillStrip(strips.text, text, 256, cw, 2 * cw, ink, paper);
    FillStrip(strips.digit, digits, 16, cw, cw, ink, paper);
    strips.fontCell = fontCell;
}

void FreeGlyphStrips(GlyphStrips& strips) {
    strips.text = GlyphStrip{};
    strips.digit = GlyphStrip{};
}

void RebuildGlyphStrips(EditorState& s) {
    FreeGlyphStrips(s.strips);
    BuildGlyphStrips(s.strips, s.glyphs, s.settings.FontCell, s.settings.ForegroundColor, s.settings.BackgroundColor);
}

void ChangeFontCell(EditorState& s, std::uint8_t fontCell) {
    if (fontCell == s.settings.FontCell && s.strips.fontCell == fontCell && !s.strips.text.empty()) return;
    FreeGlyphStrips(s.strips);
    s.settings.FontCell = fontCell;
    BuildGlyphStrips(s.strips, s.glyphs, fontCell, s.settings.ForegroundColor, s.settings.BackgroundColor);
}

}  // namespace vop
