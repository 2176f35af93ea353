// Font files into glyph tables, and the text view's lines into pixels. The
// hex view's picture is read back after every step of editor_model_test.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "files/font_files.h"
#include "files/real_file_system.h"
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
        for (const auto& [name, size, byte] : {std::tuple{"a", c.a, 0x11}, {"b", c.b, 0x22}, {"c", c.c, 0x33}})
            if (size) dir.write(name, Bytes(size, static_cast<std::uint8_t>(byte)));
        auto t = std::make_unique<GlyphTables>();
        EXPECT_EQ(LoadFontFiles(*t, RealFileSystem(), dir.path() + "/", "a", "b", "c"), c.result) << c.a << " " << c.b;
        EXPECT_EQ(std::make_tuple(t->font8x16[4095], t->font16x32[0], t->font32x64[65535]),
                  std::make_tuple(c.lastA, c.firstB, c.lastC));
    }
    test::TempDir dir;  // the digit files have sizes of their own
    for (const auto& [name, size] : {std::pair{"a", 127}, {"b", 512}, {"c", 2048}}) dir.write(name, Bytes(std::size_t(size), 3));
    auto t = std::make_unique<GlyphTables>();
    EXPECT_EQ(LoadDigitFiles(*t, RealFileSystem(), dir.path() + "/", "a", "b", "c"), 0);
    dir.write("a", Bytes(128, 3));
    EXPECT_EQ(LoadDigitFiles(*t, RealFileSystem(), dir.path() + "/", "a", "b", "c"), 1);
    EXPECT_EQ(t->digits32x32[2047], 3);
}

// Glyph g's first row is g; the strips are red on blue, 0x00RRGGBB in the
// picture while the settings hold 0x00BBGGRR.
std::unique_ptr<EditorState> TextViewOf(std::vector<std::uint8_t> text) {
    auto s = std::make_unique<EditorState>();
    for (int g = 0; g < 256; ++g) s->glyphs.font8x16[std::size_t(g) * 16] = static_cast<std::uint8_t>(g);
    BuildGlyphStrips(s->strips, s->glyphs, 0, 0x0000FF, 0xFF0000);
    s->settings.BackgroundColor = 0xFF0000;
    s->pages.CurrentPage.Bytes = std::make_unique<std::uint8_t[]>(PageSize);
    s->pages.CurrentPage.Length = 1;
    s->grid.init(26, 2);
    s->TextViewOn = 1;
    s->lines.Lines = {LineRecord{0, static_cast<std::uint32_t>(text.size())}};
    s->lines.Store.assign(text.begin(), text.end());
    s->lines.LineCount = 1;
    return s;
}

struct Picture {
    std::vector<std::uint32_t> px = std::vector<std::uint32_t>(200 * 32, 0x123456);
    explicit Picture(const EditorState& s) {
        PixelSurface out{px.data(), 200, 32, 200, 0};
        RenderDataWindow(s, out);
    }
    int byteAt(int x) const {  // the first row's eight pixels at x, red being 1
        int v = 0;
        for (int i = 0; i < 8; ++i) v = v << 1 | (px[std::size_t(x + i)] == 0xFF0000u);
        return v;
    }
    bool blank() const { return std::all_of(px.begin(), px.end(), [](std::uint32_t v) { return v == 0x0000FFu; }); }
};

// A tab takes four cells, a carriage return one empty cell; text cells stand
// CellWidth + CellInset apart, one in from the edge; lines scroll sideways.
TEST(Render, TextLinesExpandTabsAndLeaveCarriageReturnsEmpty) {
    auto s = TextViewOf({0xC1, 9, 'b', 13, 'c'});  // 0xC1 inks its cell's first column
    const Picture p(*s);
    const int pitch = 9;
    EXPECT_EQ(p.byteAt(1), 0xC1);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(p.byteAt(k * pitch), ' ') << k;
    EXPECT_EQ(std::make_tuple(p.byteAt(1 + 5 * pitch), p.byteAt(1 + 6 * pitch), p.byteAt(1 + 7 * pitch)),
              std::make_tuple('b', 0, 'c'));
    s->lines.LeftColumn = 2;
    EXPECT_EQ(Picture(*s).byteAt(1), 'b');
    s->lines.LeftColumn = 5;  // at or beyond the line's length: the row stays empty
    EXPECT_TRUE(Picture(*s).blank());
}

TEST(Render, NoDocumentOrStripsOfAnotherSizeDrawOnlyBackground) {
    auto s = TextViewOf({'a'});
    s->settings.FontCell = 2;  // strips still of size 0: nothing may be read from them
    EXPECT_TRUE(Picture(*s).blank());
    s->settings.FontCell = 0;
    s->pages.CurrentPage.release();
    EXPECT_TRUE(Picture(*s).blank());
}

}  // namespace
}  // namespace vop
