// Font files, coloured glyph strips and the rendering of the data window.
#include <gtest/gtest.h>

#include "files/real_file_system.h"

#include "state/editor_state.h"
#include "view/glyph_strips.h"
#include "state/cell_metrics.h"
#include "view/data_render.h"
#include "files/font_files.h"
#include "support/temp_files.h"

namespace vop {
namespace {

using test::TempDir;
using Bytes = std::vector<std::uint8_t>;

void WriteFontSet(const TempDir& dir, std::size_t normal, std::size_t doubled, std::size_t quad) {
    dir.write("a.fnt", Bytes(normal, 0x11));
    if (doubled) dir.write("b.fnt", Bytes(doubled, 0x22));
    dir.write("c.fnt", Bytes(quad, 0x33));
}

// Guards the size rules of the loaders: exact, short, long and missing files.
TEST(FontFiles, ExactAndLongerFilesLoadShortOnesFail) {
    TempDir dir;
    auto tables = std::make_unique<GlyphTables>();
    WriteFontSet(dir, 4096, 16384, 65536);
    EXPECT_EQ(LoadFontFiles(*tables, RealFileSystem(), dir.path() + "/", "a.fnt", "b.fnt", "c.fnt"), 1);
    EXPECT_EQ(tables->font32x64[65535], 0x33);

    tables = std::make_unique<GlyphTables>();
    WriteFontSet(dir, 4095, 16384, 65536);
    EXPECT_EQ(LoadFontFiles(*tables, RealFileSystem(), dir.path() + "/", "a.fnt", "b.fnt", "c.fnt"), 0);
    EXPECT_EQ(tables->font8x16[0], 0) << "a short file must leave its table untouched";

    tables = std::make_unique<GlyphTables>();
    Bytes longer(5000, 0x44);
    longer[4095] = 0x55;
    dir.write("a.fnt", longer);
    EXPECT_EQ(LoadFontFiles(*tables, RealFileSystem(), dir.path() + "/", "a.fnt", "b.fnt", "c.fnt"), 1);
    EXPECT_EQ(tables->font8x16[4095], 0x55);
    EXPECT_EQ(tables->font16x32[0], 0x22);
}

TEST(FontFiles, MissingMiddleFileLeavesOnlyTheFirstTableFilled) {
    TempDir dir;
    auto tables = std::make_unique<GlyphTables>();
    WriteFontSet(dir, 4096, 0, 65536);
    EXPECT_EQ(LoadFontFiles(*tables, RealFileSystem(), dir.path() + "/", "a.fnt", "b.fnt", "c.fnt"), 0);
    EXPECT_EQ(tables->font8x16[100], 0x11);
    EXPECT_EQ(tables->font16x32[100], 0);
    EXPECT_EQ(tables->font32x64[100], 0);
}

TEST(FontFiles, DigitSetHasItsOwnSizes) {
    TempDir dir;
    auto tables = std::make_unique<GlyphTables>();
    WriteFontSet(dir, 128, 512, 2048);
    EXPECT_EQ(LoadDigitFiles(*tables, RealFileSystem(), dir.path() + "/", "a.fnt", "b.fnt", "c.fnt"), 1);
    EXPECT_EQ(tables->digits32x32[2047], 0x33);
    dir.write("b.fnt", Bytes(511, 0));
    EXPECT_EQ(LoadDigitFiles(*tables, RealFileSystem(), dir.path() + "/", "a.fnt", "b.fnt", "c.fnt"), 0);
}

// Guards the bit order and the strip's pixel mapping.
TEST(GlyphStrips, GlyphAIsAtColumns1040To1055AtDoubleSize) {
    auto tables = std::make_unique<GlyphTables>();
    for (int i = 0; i < 64; ++i) tables->font16x32[0x41 * 64 + i] = 0xFF;
    GlyphStrips strips;
    BuildGlyphStrips(strips, *tables, 1, 0x0000FF /* red */, 0xFF0000 /* blue */);
    ASSERT_EQ(strips.text.width, 4096);
    ASSERT_EQ(strips.text.height, 32);
    ASSERT_EQ(strips.digit.width, 256);
    ASSERT_EQ(strips.digit.height, 16);
    for (int y = 0; y < 32; ++y) {
        EXPECT_EQ(strips.text.at(1039, y), 0x0000FFu);  // blue background as 0x00RRGGBB
        EXPECT_EQ(strips.text.at(1040, y), 0xFF0000u);  // red ink
        EXPECT_EQ(strips.text.at(1055, y), 0xFF0000u);
        EXPECT_EQ(strips.text.at(1056, y), 0x0000FFu);
    }
}

TEST(GlyphStrips, BitSevenIsTheLeftmostPixel) {
    auto tables = std::make_unique<GlyphTables>();
    tables->font16x32[64 + 1] = 0x40;  // glyph 1, row 0, second byte, bit 6: pixel (9, 0)
    tables->digits8x8[8 * 3 + 2] = 0x80;  // digit 3, row 2, pixel (0, 2)
    GlyphStrips strips;
    BuildGlyphStrips(strips, *tables, 1, 0, 0xFFFFFF);
    for (int x = 16; x < 32; ++x) EXPECT_EQ(strips.text.at(x, 0), x == 16 + 9 ? 0u : 0xFFFFFFu) << x;
    BuildGlyphStrips(strips, *tables, 0, 0, 0xFFFFFF);
    EXPECT_EQ(strips.digit.at(24, 2), 0u);
    EXPECT_EQ(strips.digit.at(25, 2), 0xFFFFFFu);
    EXPECT_EQ(strips.text.width, 2048);
}

TEST(GlyphStrips, RebuildAtAnotherSizeLeavesNoOldStrip) {
    auto tables = std::make_unique<GlyphTables>();
    GlyphStrips strips;
    BuildGlyphStrips(strips, *tables, 2, 0, 0xFFFFFF);
    EXPECT_EQ(strips.text.width, 8192);
    EXPECT_EQ(strips.digit.width, 512);
    FreeGlyphStrips(strips);
    BuildGlyphStrips(strips, *tables, 0, 0, 0xFFFFFF);
    EXPECT_EQ(strips.text.pixels.size(), 2048u * 16u);
    EXPECT_EQ(strips.digit.pixels.size(), 128u * 8u);
}

// ---- Rendering ----

// Glyph g of every set gets a recognisable picture: its value in the top row.
std::unique_ptr<EditorState> RenderState(std::uint8_t fontCell, std::uint8_t fontType) {
    auto s = std::make_unique<EditorState>();
    s->settings.FontCell = fontCell;
    s->settings.FontType = fontType;
    const int cw = CellWidth(fontCell);
    for (int g = 0; g < 256; ++g) {
        std::uint8_t* table = fontCell == 0 ? s->glyphs.font8x16.data() : s->glyphs.font16x32.data();
        table[g * (cw / 8) * 2 * cw] = static_cast<std::uint8_t>(g);  // row 0, first byte
    }
    for (int d = 0; d < 16; ++d) {
        std::uint8_t* table = fontCell == 0 ? s->glyphs.digits8x8.data() : s->glyphs.digits16x16.data();
        table[d * (cw / 8) * cw] = static_cast<std::uint8_t>(0xF0 | d);
    }
    BuildGlyphStrips(s->strips, s->glyphs, fontCell, 0x000000, 0xFFFFFF);
    s->pages.CurrentPage.Bytes = std::make_unique<std::uint8_t[]>(PageSize);
    s->pages.CurrentPage.Length = 1;
    return s;
}

// Reads the 8 pixels of a glyph's first byte back into a byte.
std::uint8_t ReadByteAt(const std::vector<std::uint32_t>& px, int stride, int x, int y) {
    std::uint8_t v = 0;
    for (int i = 0; i < 8; ++i)
        if (px[static_cast<std::size_t>(y) * stride + x + i] == 0) v |= static_cast<std::uint8_t>(0x80 >> i);
    return v;
}

TEST(RenderDataWindow, AsciiCellsAreCopiedAtTheirInsetPositions) {
    auto s = RenderState(0, 0);
    s->grid.init(26, 2);
    s->grid.filledCells = 30;
    for (int c = 0; c < 26; ++c) s->grid.at(0, c) = static_cast<std::uint8_t>(0x40 + c);
    std::vector<std::uint32_t> px(300 * 40, 0x123456);
    PixelSurface out{px.data(), 300, 40, 300};
    RenderDataWindow(*s, out);
    for (int c = 0; c < 26; ++c) EXPECT_EQ(ReadByteAt(px, 300, 1 + 8 * c, 0), 0x40 + c) << c;
    EXPECT_EQ(px[0], 0xFFFFFFu);        // column 0 of the inset is background
    EXPECT_EQ(px[299], 0xFFFFFFu);      // right of the row content too
    EXPECT_EQ(ReadByteAt(px, 300, 1, 16), 0);  // row 1 holds zero bytes: glyph 0 has an empty top row here
}

TEST(RenderDataWindow, HexCellsStackTwoDigitsAndStopAtTheEnd) {
    auto s = RenderState(1, 1);
    s->grid.init(26, 2);
    for (int c = 0; c < 26; ++c) s->grid.at(0, c) = 0x4A;
    s->grid.filledCells = 12;  // the address column and two bytes
    std::vector<std::uint32_t> px(26 * 16 + 10, 0);
    std::vector<std::uint32_t> surface((26 * 16 + 10) * 64, 0x00FF00);
    PixelSurface out{surface.data(), 26 * 16 + 10, 64, 26 * 16 + 10};
    RenderDataWindow(*s, out);
    const int stride = out.stride;
    // Byte cell 10 at x = 2 + 160: high digit 4 on row 0, low digit A raised by the inset: row 16 - 2.
    EXPECT_EQ(ReadByteAt(surface, stride, 162, 0), 0xF4);
    EXPECT_EQ(ReadByteAt(surface, stride, 162, 14), 0xFA);
    EXPECT_EQ(ReadByteAt(surface, stride, 2 + 16 * 11, 14), 0xFA);
    // Cell 12 lies past the end: nothing drawn, the background shows.
    EXPECT_EQ(ReadByteAt(surface, stride, 2 + 16 * 12, 0), 0);
    EXPECT_EQ(surface[2 + 16 * 12], 0xFFFFFFu);
}

TEST(RenderDataWindow, TextViewExpandsTabsAndLeavesCarriageReturnsEmpty) {
    auto s = RenderState(0, 0);
    s->grid.init(26, 2);
    s->TextViewOn = 1;
    s->lines.Store = {'a', 9, 'b', 13};
    s->lines.Lines = {LineRecord{0, 4}};
    s->lines.LineCount = 1;
    std::vector<std::uint32_t> px(200 * 32, 0);
    PixelSurface out{px.data(), 200, 32, 200};
    RenderDataWindow(*s, out);
    const int pitch = 9;  // text cells stand CellWidth + CellInset apart
    EXPECT_EQ(ReadByteAt(px, 200, 1, 0), 'a');
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(ReadByteAt(px, 200, k * pitch, 0), ' ') << k;
    EXPECT_EQ(ReadByteAt(px, 200, 1 + 5 * pitch, 0), 'b');
    EXPECT_EQ(ReadByteAt(px, 200, 1 + 6 * pitch, 0), 0);  // the carriage return's cell stays empty

    s->lines.LeftColumn = 4;  // at or beyond the line's length: the row stays empty
    RenderDataWindow(*s, out);
    for (int x = 0; x < 200; ++x) EXPECT_EQ(px[x], 0xFFFFFFu);
}

TEST(RenderDataWindow, NoDocumentOrMismatchedStripsDrawOnlyBackground) {
    auto s = RenderState(0, 0);
    s->grid.init(26, 1);
    s->grid.at(0, 0) = 0xFF;
    s->settings.FontCell = 2;  // strips still of size 0: nothing may be read from them
    std::vector<std::uint32_t> px(100 * 20, 0);
    PixelSurface out{px.data(), 100, 20, 100};
    RenderDataWindow(*s, out);
    for (auto p : px) ASSERT_EQ(p, 0xFFFFFFu);
    s->settings.FontCell = 0;
    s->pages.CurrentPage.release();
    RenderDataWindow(*s, out);
    for (auto p : px) ASSERT_EQ(p, 0xFFFFFFu);
}

}  // namespace
}  // namespace vop
