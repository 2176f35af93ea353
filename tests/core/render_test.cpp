// Font files into glyph tables, tables into coloured strips, and the grid or
// the text lines into pixels: a wrong size rule, bit order, colour, inset,
// band or stacking misdraws every byte.
#include <gtest/gtest.h>

#include <memory>

#include "files/font_files.h"
#include "files/real_file_system.h"
#include "state/cell_metrics.h"
#include "support/temp_files.h"
#include "view/data_render.h"
#include "view/glyph_strips.h"

namespace vop {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Exact and longer files load (extra bytes ignored); a short or missing file
// fails and leaves its table and the ones after it untouched.
TEST(FontFiles, SizeRules) {
    const struct { std::size_t a, b, c; int result; std::uint8_t lastA, firstB, lastC; } cases[] = {
        {4096, 16384, 65536, 1, 0x11, 0x22, 0x33}, {5000, 16384, 65536, 1, 0x11, 0x22, 0x33},
        {4095, 16384, 65536, 0, 0, 0, 0},          {4096, 0, 65536, 0, 0x11, 0, 0},
        {4096, 16384, 65535, 0, 0x11, 0x22, 0},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        dir.write("a", Bytes(c.a, 0x11));
        if (c.b) dir.write("b", Bytes(c.b, 0x22));
        dir.write("c", Bytes(c.c, 0x33));
        auto t = std::make_unique<GlyphTables>();
        EXPECT_EQ(LoadFontFiles(*t, RealFileSystem(), dir.path() + "/", "a", "b", "c"), c.result) << c.a << " " << c.b;
        EXPECT_EQ(std::make_tuple(t->font8x16[4095], t->font16x32[0], t->font32x64[65535]),
                  std::make_tuple(c.lastA, c.firstB, c.lastC));
    }
    test::TempDir dir;
    for (const auto& [name, size] : {std::pair{"a", 128}, {"b", 512}, {"c", 2047}}) dir.write(name, Bytes(size, 0x44));
    auto t = std::make_unique<GlyphTables>();
    EXPECT_EQ(LoadDigitFiles(*t, RealFileSystem(), dir.path() + "/", "a", "b", "c"), 0);  // the digit sizes
    EXPECT_EQ(std::make_tuple(t->digits16x16[511], t->digits32x32[0]), std::make_tuple(0x44, 0));
}

// Glyph g's pixel (x, y) is bit 7 - x mod 8 of byte g * bytes a glyph + y * bytes a row + x / 8,
// in the foreground colour as 0x00RRGGBB; everything else is background.
TEST(GlyphStrips, BitOrderColoursAndSizes) {
    auto t = std::make_unique<GlyphTables>();
    t->font16x32[0x41 * 64 + 1] = 0x40;  // glyph A, row 0, second byte, bit 6: pixel (9, 0)
    t->digits8x8[8 * 3 + 2] = 0x80;      // digit 3, row 2, pixel (0, 2)
    GlyphStrips strips;
    BuildGlyphStrips(strips, *t, 1, 0x0000FF /* red */, 0xFF0000 /* blue */);
    EXPECT_EQ(std::make_tuple(strips.text.width, strips.text.height, strips.digit.width, strips.digit.height),
              std::make_tuple(4096, 32, 256, 16));
    for (int x = 0x41 * 16; x < 0x42 * 16; ++x)
        EXPECT_EQ(strips.text.at(x, 0), x == 0x41 * 16 + 9 ? 0xFF0000u : 0x0000FFu) << x;
    BuildGlyphStrips(strips, *t, 0, 0, 0xFFFFFF);
    EXPECT_EQ(std::make_tuple(strips.digit.at(24, 2), strips.digit.at(25, 2), strips.digit.at(24, 1), strips.text.width),
              std::make_tuple(0u, 0xFFFFFFu, 0xFFFFFFu, 2048));
}

// A state whose glyph g shows its value in the top row, and digit d shows 0xF0 | d.
std::unique_ptr<EditorState> RenderState(std::uint8_t fontCell, std::uint8_t fontType, int columns, int rows) {
    auto s = std::make_unique<EditorState>();
    s->settings.FontCell = fontCell;
    s->settings.FontType = fontType;
    const int cw = CellWidth(fontCell);
    std::uint8_t* text = fontCell == 0 ? s->glyphs.font8x16.data() : s->glyphs.font16x32.data();
    std::uint8_t* digits = fontCell == 0 ? s->glyphs.digits8x8.data() : s->glyphs.digits16x16.data();
    for (int g = 0; g < 256; ++g) text[g * (cw / 8) * 2 * cw] = static_cast<std::uint8_t>(g);
    for (int d = 0; d < 16; ++d) digits[d * (cw / 8) * cw] = static_cast<std::uint8_t>(0xF0 | d);
    BuildGlyphStrips(s->strips, s->glyphs, fontCell, 0x000000, 0xFFFFFF);
    s->pages.CurrentPage.Bytes = std::make_unique<std::uint8_t[]>(PageSize);
    s->pages.CurrentPage.Length = 1;
    s->grid.init(columns, rows);
    return s;
}

struct Picture {
    int width, height;
    std::vector<std::uint32_t> px;
    Picture(const EditorState& s, int w, int h, int top = 0) : width(w), height(h), px(std::size_t(w) * h, 0x123456) {
        PixelSurface out{px.data(), w, h, w, top};
        RenderDataWindow(s, out);
    }
    // The eight pixels at (x, y) read back as a byte, black being 1.
    std::uint8_t byteAt(int x, int y) const {
        std::uint8_t v = 0;
        for (int i = 0; i < 8; ++i) v = static_cast<std::uint8_t>(v << 1 | (px[std::size_t(y) * width + x + i] == 0));
        return v;
    }
};

TEST(Render, AsciiCellsSitAtTheirInsetAndEveryPixelIsDrawn) {
    auto s = RenderState(0, 0, 26, 2);
    for (int c = 0; c < 26; ++c) s->grid.at(0, c) = static_cast<std::uint8_t>(0x40 + c);
    const Picture p(*s, 300, 40);
    for (int c = 0; c < 26; ++c) EXPECT_EQ(p.byteAt(1 + 8 * c, 0), 0x40 + c) << c;
    EXPECT_EQ(std::make_tuple(p.px[0], p.px[299], p.px[300 * 39]), std::make_tuple(0xFFFFFFu, 0xFFFFFFu, 0xFFFFFFu));
    // Drawn a band at a time, the window is the same picture.
    for (int top : {0, 7, 16, 33}) {
        const Picture band(*s, 300, 5, top);
        EXPECT_TRUE(std::equal(band.px.begin(), band.px.end(), p.px.begin() + 300 * top)) << top;
    }
}

TEST(Render, HexCellsStackTwoDigitsAndStopAtTheEnd) {
    auto s = RenderState(1, 1, 26, 2);
    for (int c = 0; c < 26; ++c) s->grid.at(0, c) = 0x4A;
    s->grid.filledCells = 12;  // the address column and two bytes
    const Picture p(*s, 26 * 16 + 10, 64);
    // Byte cell 10 at x = 2 + 160: high digit 4 on row 0, low digit A raised by the inset to row 16 - 2.
    EXPECT_EQ(std::make_tuple(p.byteAt(162, 0), p.byteAt(162, 14), p.byteAt(2 + 16 * 11, 14)),
              std::make_tuple(0xF4, 0xFA, 0xFA));
    EXPECT_EQ(std::make_tuple(p.byteAt(2 + 16 * 12, 0), p.px[2 + 16 * 12]), std::make_tuple(0, 0xFFFFFFu));
}

TEST(Render, TextLinesExpandTabsAndLeaveCarriageReturnsEmpty) {
    auto s = RenderState(0, 0, 26, 2);
    s->TextViewOn = 1;
    s->lines.Store = {0xC1, 9, 'b', 13};  // a glyph that inks its cell's first column
    s->lines.Lines = {LineRecord{0, 4}};
    s->lines.LineCount = 1;
    const Picture p(*s, 200, 32);
    const int pitch = 9;  // text cells stand CellWidth + CellInset apart
    EXPECT_EQ(p.byteAt(1, 0), 0xC1);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(p.byteAt(k * pitch, 0), ' ') << k;
    EXPECT_EQ(std::make_tuple(p.byteAt(1 + 5 * pitch, 0), p.byteAt(1 + 6 * pitch, 0)), std::make_tuple('b', 0));
    s->lines.LeftColumn = 4;  // at or beyond the line's length: the row stays empty
    const Picture scrolled(*s, 200, 32);
    EXPECT_TRUE(std::all_of(scrolled.px.begin(), scrolled.px.end(), [](std::uint32_t v) { return v == 0xFFFFFFu; }));
}

TEST(Render, NoDocumentOrStripsOfAnotherSizeDrawOnlyBackground) {
    auto s = RenderState(0, 0, 26, 1);
    s->grid.at(0, 0) = 0xFF;
    s->settings.FontCell = 2;  // strips still of size 0: nothing may be read from them
    const auto blank = [](const Picture& p) {
        return std::all_of(p.px.begin(), p.px.end(), [](std::uint32_t v) { return v == 0xFFFFFFu; });
    };
    EXPECT_TRUE(blank(Picture(*s, 100, 20)));
    s->settings.FontCell = 0;
    s->pages.CurrentPage.release();
    EXPECT_TRUE(blank(Picture(*s, 100, 20)));
}

}  // namespace
}  // namespace vop
