// What Set Colors and Font do with the user's choice: colours as the fields
// show them (RRGGBB), the glyph strips made again only on a change, equal
// colours kept readable, and the cell size the screen can take.
#include <gtest/gtest.h>

#include "app/settings_choices.h"
#include "support/session.h"

namespace vop::test {
namespace {

// Sequential steps on one editor: each starts from the colours the step before left.
TEST(SettingsDialogs, ColoursFromTheFields) {
    Session u;
    u.s.glyphs.font8x16[0x41 * 16] = 0x80;  // the top-left pixel of 'A' is ink
    BuildGlyphStrips(u.s.strips, u.s.glyphs, 0, u.s.settings.ForegroundColor, u.s.settings.BackgroundColor);
    const struct { ColourBytes fg, bg; bool changed; std::uint32_t ink, paper; } steps[] = {
        {{0, 0, 0}, {0xFF, 0xFF, 0xFF}, false, 0x000000, 0xFFFFFF},        // as they were: nothing happens
        {{0x12, 0x34, 0x56}, {0xAB, 0xCD, 0xEF}, true, 0x563412, 0xEFCDAB},  // red is the low byte
        {{0x80, 0x80, 0x80}, {0x80, 0x80, 0x80}, true, 0x7F7F7F, 0x808080},  // equal: the inverse
        {{0xFF, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF}, true, 0x000000, 0xFFFFFF},
        {{0x80, 0x80, 0x80}, {0x80, 0x80, 0x80}, true, 0x7F7F7F, 0x808080},
        {{0x7F, 0x7F, 0x7F}, {0x80, 0x80, 0x80}, false, 0x7F7F7F, 0x808080},  // what the inverse left
    };
    for (const auto& step : steps) {
        u.s.strips.text.pixels[1] = 0x123456;  // a rebuild would repaint this pixel of the strip
        const int repaints = u.ui.repaints;
        EXPECT_EQ(ChooseColours(u.s, step.fg, step.bg), step.changed);
        EXPECT_EQ(std::make_tuple(u.ui.repaints - repaints, u.s.strips.text.pixels[1], u.s.strips.text.at(0x41 * 8, 0)),
                  std::make_tuple(step.changed ? 1 : 0, step.changed ? ColourToPixel(step.paper) : 0x123456u, ColourToPixel(step.ink)));
        EXPECT_EQ(std::make_pair(u.s.settings.ForegroundColor, u.s.settings.BackgroundColor), std::make_pair(step.ink, step.paper));
        EXPECT_EQ(BytesOfColour(ColourOfBytes(step.fg)), step.fg);
    }
}

// The buttons the dialog opens with, whatever the settings file held; and OK
// from Double to Quad: a normal window takes the optimal size, one cell size
// down at a time until a row of 16 bytes fits; a maximised one keeps its size
// and cell size. A window that keeps its size is laid out again at once.
TEST(SettingsDialogs, FontChoice) {
    const FontChoice opened = CurrentFontChoice(Settings{3, 7, 2});
    EXPECT_EQ(std::make_tuple(opened.fontType, opened.fontCell, opened.blockCaret), std::make_tuple(1, 2, 0));
    const WindowMetrics narrow{700, 600, 4, 16, 19, 19, 20}, tiny{200, 200, 4, 16, 19, 19, 20};  // 16 bytes fit at 16 / at no size
    const struct { bool maximised; WindowMetrics screen; std::uint8_t cell; bool resize; } cases[] = {
        {false, narrow, 1, true}, {true, narrow, 2, false}, {false, tiny, 0, false}};
    for (const auto& c : cases) {
        Session u({1200, 700}), fresh({1200, 700});
        u.s.settings.FontCell = 1, fresh.s.settings.FontCell = c.cell;
        u.open(std::vector<std::uint8_t>(5000, 0x41)), fresh.open(std::vector<std::uint8_t>(5000, 0x41));
        const OptimalPlacement p = ChooseFont(u.s, {2, 1, 1}, c.maximised, c.screen);
        EXPECT_EQ(std::make_tuple(p.resize, u.s.settings.FontCell, u.s.strips.fontCell, u.s.settings.FontType, u.s.settings.BlockCaret),
                  std::make_tuple(c.resize, c.cell, c.cell, std::uint8_t{1}, std::uint8_t{1}));
        EXPECT_TRUE(u.s.strips.digit.width == 16 * CellWidth(c.cell) && u.ui.repaints > fresh.ui.repaints);
        EXPECT_TRUE(c.resize || (u.s.grid.columns == fresh.s.grid.columns && u.s.grid.rows == fresh.s.grid.rows));
    }
}

}  // namespace
}  // namespace vop::test
