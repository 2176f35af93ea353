// The application around the view: start-up from the program's folder, the
// settings file, Set Colors and Font, the main window's size and the
// command line. (What the settings file holds is also read and written by
// the real program under Wine.)
#include <gtest/gtest.h>

#include "app/program_paths.h"
#include "app/settings_choices.h"
#include "app/window_sizing.h"
#include "support/session.h"
#include "view/screen_layout.h"

namespace vop {
namespace {

using namespace std;


using test::Bytes;

// Settings and fonts come from the program's folder, and from nowhere else:
// without a folder both font sets are missing, nothing is read from or
// written to the current folder, and the program cannot go on. A font file
// one byte short fails its set alone, and whole lets start-up go on; without
// a settings file the colours are the defaults. Shutting down closes the
// document and its line index. Typing without a document does nothing.
TEST(StartUp, SettingsAndFontsComeFromTheProgramsFolderOnly) {
    test::Session none;
    EXPECT_FALSE(StartUp(none.s, nullopt));
    ShutDown(none.s, nullopt);
    EXPECT_EQ(none.ui.boxes.size(), 2u);
    EXPECT_EQ(none.ui.lastBoxText(), "Unable to load font file!");
    EXPECT_TRUE(none.files.pathsAsked.empty());
    DataWindowChar(none.s, 'a', {});
    EXPECT_EQ(none.s.Modified, 0);

    test::Session t;
    string folder = t.dir.path() + "/";
    pair<const char*, int> fonts[] = {{"font.fnt", 4096},  {"font1.fnt", 16384}, {"font2.fnt", 65536},
                                                 {"digits.fnt", 128}, {"digits1.fnt", 511}, {"digits2.fnt", 2048}};
    for (auto& [name, size] : fonts) t.dir.write(name, Bytes(size_t(size), 0x5A));
    EXPECT_FALSE(StartUp(t.s, folder));  // digits1.fnt is a byte short
    EXPECT_EQ(t.ui.boxes.size(), 1u);
    EXPECT_EQ(t.s.glyphs.font32x64[65535], 0x5A);
    EXPECT_EQ(t.s.settings.BackgroundColor, 0xFFFFFFu);
    t.dir.write("digits1.fnt", Bytes(512, 0x5A));
    EXPECT_TRUE(StartUp(t.s, folder));
    t.open(Bytes(30, '\n'));
    EnterTextView(t.s);
    ShutDown(t.s, folder);
    EXPECT_FALSE(t.s.documentOpen());
    EXPECT_FALSE(t.s.lines.built());
    EXPECT_EQ(test::ReadWholeFile(folder + "Vop.cfg").size(), 11u);
}

// Steps on one editor, each from the colours the step before left. Either
// colour changed is a change: both are kept, the strips made again in them
// and the data window repainted.
TEST(SettingsDialogs, ColoursFromTheFields) {
    test::Session u;
    u.s.glyphs.font8x16[0x41 * 16] = 0x80;  // the top-left pixel of 'A' is ink
    u.s.glyphs.font8x16[0x41 * 16 + 9] = 0x01;  // and the last of its tenth row
    RebuildGlyphStrips(u.s);
    struct {
        ColourBytes fg, bg;
        bool changed;
        uint32_t ink, paper;
    } steps[] = {
        {{0, 0, 0}, {0xFF, 0xFF, 0xFF}, false, 0x000000, 0xFFFFFF},          // as they were
        {{0, 0, 0}, {0xAB, 0xCD, 0xEF}, true, 0x000000, 0xEFCDAB},          // red is the low byte
        {{0x12, 0x34, 0x56}, {0xAB, 0xCD, 0xEF}, true, 0x563412, 0xEFCDAB},
        {{0x80, 0x80, 0x80}, {0x80, 0x80, 0x80}, true, 0x7F7F7F, 0x808080},  // equal: the inverse
        {{0x7F, 0x7F, 0x7F}, {0x80, 0x80, 0x80}, false, 0x7F7F7F, 0x808080},  // what the inverse left
    };
    for (auto& step : steps) {
        int repaints = u.ui.repaints;
        EXPECT_EQ(ChooseColours(u.s, step.fg, step.bg), step.changed);
        EXPECT_EQ(u.ui.repaints - repaints, step.changed ? 1 : 0);
        EXPECT_EQ(u.s.strips.text.at(0x41 * 8, 0), ColourToPixel(step.ink));
        EXPECT_EQ(u.s.strips.text.at(0x41 * 8 + 1, 0), ColourToPixel(step.paper));
        EXPECT_EQ(u.s.strips.text.at(0x41 * 8 + 7, 9), ColourToPixel(step.ink));
        EXPECT_EQ(u.s.settings.ForegroundColor, step.ink);
        EXPECT_EQ(u.s.settings.BackgroundColor, step.paper);
    }
}

// The buttons the dialog opens with, whatever the settings file held; and OK
// from Double to Quad: a normal window takes the optimal size, one cell size
// down at a time until a row of 16 bytes fits; a maximised one keeps its
// size and cell size, and is laid out again at once.
TEST(SettingsDialogs, FontChoice) {
    FontChoice opened = CurrentFontChoice(Settings{3, 7, 2});
    EXPECT_EQ(opened.fontType, 1);
    EXPECT_EQ(opened.fontCell, 2);
    EXPECT_EQ(opened.blockCaret, 0);
    WindowMetrics narrow{700, 600, 4, 16, 19, 19, 20};  // 16 bytes fit at 16 pixels
    WindowMetrics tiny{200, 200, 4, 16, 19, 19, 20};    // and at no size
    struct {
        bool maximised;
        WindowMetrics screen;
        uint8_t cell;
        bool resize;
    } cases[] = {{false, narrow, 1, true}, {true, narrow, 2, false}, {false, tiny, 0, false}};
    for (auto& c : cases) {
        test::Session u({1200, 700});
        u.s.settings.FontCell = 1;
        u.open(Bytes(5000, 0x41));
        int repaints = u.ui.repaints;
        OptimalPlacement p = ChooseFont(u.s, {2, 1, 1}, c.maximised, c.screen);
        EXPECT_EQ(p.resize, c.resize);
        EXPECT_EQ(u.s.settings.FontCell, c.cell);
        EXPECT_EQ(u.s.strips.digit.width, 16 * CellWidth(c.cell));
        EXPECT_EQ(u.s.settings.FontType, 1);
        EXPECT_EQ(u.s.settings.BlockCaret, 1);
        EXPECT_GT(u.ui.repaints, repaints);
        // A window that keeps its size is laid out for the new cells at once.
        if (!c.resize) {
            EXPECT_EQ(u.s.grid.columns, BytesPerRowFor(1200, c.cell) + 10);
        }
    }
}

// The start-up and menu sizing: the widest row that fits (exactly fitting
// counts), whole text rows, 70 % of the width capped by the work area,
// centred in it (here right of a 1920-pixel monitor, below a 40-pixel bar);
// start-up falls straight back to Normal cells, the menu one size at a time,
// and at Normal the menu leaves a window too narrow alone.
TEST(WindowSizing, OptimalAndSmallestSizes) {
    using V = SizingVariant;
    // 128 cells at 8 px need 1024 + 16 + 2 * (40 + 1 + 4) = 1130 pixels of screen.
    struct {
        int w, h;
        uint8_t cell;
        V v;
        bool resize;
        uint8_t fc;
        int width, height;
    } cases[] = {
        {1130, 1024, 0, V::StartUp, true, 0, 1130, 786}, {1129, 1024, 0, V::StartUp, true, 0, 618, 418},
        {3000, 600, 0, V::StartUp, true, 0, 2154, 594},  {700, 600, 2, V::StartUp, true, 0, 618, 418},
        {700, 600, 2, V::Menu, true, 1, 700, 482},       {200, 200, 2, V::Menu, false, 0, 0, 0},
        {200, 200, 2, V::StartUp, true, 0, 200, 130},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " cell " << int(c.cell));
        OptimalPlacement p = OptimalSize({c.w, c.h, 4, 16, 19, 19, 20, 1920, 40}, c.cell, c.v);
        EXPECT_EQ(p.resize, c.resize);
        EXPECT_EQ(p.fontCell, c.fc);
        EXPECT_EQ(p.width, c.width);
        EXPECT_EQ(p.height, c.height);
        EXPECT_EQ(p.x, c.resize ? 1920 + (c.w - p.width) / 2 : 0);
        EXPECT_EQ(p.y, c.resize ? 40 + (c.h - p.height) / 2 : 0);
    }
}

// The smallest window the user may drag: 16 bytes and the address, and one
// text row, inside the frame, menu, caption, status bar and scroll bar. The
// caret: a block over the cell, or a line under it that thickens with the cell.
TEST(WindowSizing, SmallestWindowAndCaretShape) {
    TrackSize least = MinimumTrackSize({1000, 800, 4, 16, 19, 19, 20}, 2);
    EXPECT_EQ(least.width, 16 + 2 * (13 * 32 + 4 + 4));
    EXPECT_EQ(least.height, 19 + 19 + 20 + 2 * (4 + 32));
    EXPECT_EQ(DataCaretShape(Settings{0, 2, 1}).height, 64);
    EXPECT_EQ(DataCaretShape(Settings{0, 2, 0}).height, 3);
    EXPECT_EQ(DataCaretShape(Settings{0, 1, 0}).width, 16);
}

// The quote rule, including its odd half-quoted case, and a folder that is
// never empty: without a backslash there is no folder at all.
TEST(ProgramPaths, CommandLineAndFolder) {
    pair<string, string> lines[] = {
        {"\"C:\\my files\\a.bin\"", "C:\\my files\\a.bin"}, {"\"C:\\a.bin", "C:\\a.bi"},
        {"C:\\a.bin", "C:\\a.bin"}, {"ab", "ab"}, {"\"a\"", "a"}, {"\"", ""}, {"", ""},
    };
    for (auto& [line, path] : lines) EXPECT_EQ(CommandLinePath(line), path) << line;
    EXPECT_EQ(ProgramDirectory("Z:\\tools\\vop\\Vop.exe"), "Z:\\tools\\vop\\");
    EXPECT_EQ(ProgramDirectory("a\\b"), "a\\");
    EXPECT_EQ(ProgramDirectory("Vop.exe"), nullopt);
    EXPECT_EQ(ProgramDirectory("\\Vop.exe"), nullopt);
}

}  // namespace
}  // namespace vop
