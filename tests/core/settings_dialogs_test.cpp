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
        EXPECT_EQ(ChooseColours(u.s, step.fg, step.bg), step.changed);
        EXPECT_EQ(std::make_pair(u.s.settings.ForegroundColor, u.s.settings.BackgroundColor), std::make_pair(step.ink, step.paper));
        EXPECT_EQ(u.s.strips.text.pixels[1], step.changed ? ColourToPixel(step.paper) : 0x123456u);
        EXPECT_EQ(u.s.strips.text.at(0x41 * 8, 0), ColourToPixel(step.ink));
        EXPECT_EQ(BytesOfColour(ColourOfBytes(step.fg)), step.fg);
    }
}

// The buttons the dialog opens with, whatever the settings file held; and OK:
// a normal window takes the optimal size, one cell size down at a time until
// a row of 16 bytes fits; a maximised one keeps its size and cell size.
TEST(SettingsDialogs, FontChoice) {
    const FontChoice opened = CurrentFontChoice(Settings{3, 7, 2});
    EXPECT_EQ(std::make_tuple(opened.fontType, opened.fontCell, opened.blockCaret), std::make_tuple(1, 2, 0));
    const WindowMetrics narrow{700, 600, 4, 16, 19, 19, 20};  // room for 16 bytes at 16 pixels, not at 32
    for (const bool maximised : {false, true}) {
        Session u({1200, 700});
        u.open(std::vector<std::uint8_t>(5000, 0x41));
        const OptimalPlacement p = ChooseFont(u.s, {2, 1, 1}, maximised, narrow);
        const std::uint8_t cell = maximised ? 2 : 1;
        EXPECT_EQ(std::make_tuple(p.resize, u.s.settings.FontCell, u.s.strips.fontCell, u.s.settings.FontType, u.s.settings.BlockCaret),
                  std::make_tuple(!maximised, cell, cell, std::uint8_t{1}, std::uint8_t{1}));
        EXPECT_EQ(u.s.strips.digit.width, 16 * CellWidth(cell));
        // The maximised window's view is laid out again at once for the new
        // cells, as a document opened at that size would be.
        Session fresh({1200, 700});
        fresh.s.settings.FontCell = cell;
        fresh.open(std::vector<std::uint8_t>(5000, 0x41));
        EXPECT_TRUE(!maximised || (u.s.grid.columns == fresh.s.grid.columns && u.s.grid.rows == fresh.s.grid.rows));
    }
}

}  // namespace
}  // namespace vop::test
