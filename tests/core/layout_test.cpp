// The sizes everything is laid out by: bytes per row and rows of the data
// window, the main window's optimal and smallest size, and where the program
// and a command-line file are.
#include <gtest/gtest.h>

#include <array>

#include "app/program_paths.h"
#include "app/window_sizing.h"
#include "support/fake_ui.h"
#include "view/screen_layout.h"

namespace vop {
namespace {

// Off-by-one thresholds: a row width is reached exactly where its cells, the
// address column and both insets fit; partial rows do not count, a tiny
// window still has one, and a screen never holds a whole page.
TEST(Layout, RowWidthAndRowCountThresholds) {
    const std::array<int, 3> widths[] = {{593, 0, 32},  {594, 0, 64},  {337, 0, 16},   {2130, 0, 256}, {1187, 1, 32},
                                         {1188, 1, 64}, {8519, 2, 128}, {8520, 2, 256}, {100, 0, 16},   {-5, 1, 16}};
    for (const auto& [width, fc, n] : widths) EXPECT_EQ(BytesPerRowFor(width, std::uint8_t(fc)), n) << width;
    const std::array<int, 3> heights[] = {{15, 0, 1}, {16, 0, 1}, {47, 0, 2}, {48, 0, 3}, {0, 1, 1}, {128, 2, 2}};
    for (const auto& [height, fc, rows] : heights) EXPECT_EQ(ScreenRowsFor(height, std::uint8_t(fc)), rows) << height;
    test::FakeUi ui;
    ui.client = {2200, 5000};
    EditorState s;
    s.ui = &ui;
    EXPECT_EQ(std::make_pair(BytesPerRow(s), ScreenRows(s)), std::make_pair(256, 255));
}

WindowMetrics Screen(int width, int height) { return {width, height, 4, 16, 19, 19, 20}; }

// The start-up and menu sizing: the widest row that fits (exactly fitting
// counts), whole text rows, 70 % of the width capped by the screen, centred;
// start-up falls straight back to Normal cells, the menu one size at a time,
// and at Normal the menu leaves a window too narrow alone.
TEST(WindowSizing, OptimalAndSmallestSizes) {
    // 128 cells at 8 px need 1024 + 16 + 2 * (40 + 1 + 4) = 1130 pixels of screen.
    const struct { int w, h; std::uint8_t cell; SizingVariant v; bool resize; std::uint8_t fc; int width, height; } cases[] = {
        {1130, 1024, 0, SizingVariant::StartUp, true, 0, 1130, 786}, {1129, 1024, 0, SizingVariant::StartUp, true, 0, 618, 418},
        {3000, 600, 0, SizingVariant::StartUp, true, 0, 2154, 594},  {700, 600, 2, SizingVariant::StartUp, true, 0, 618, 418},
        {700, 600, 2, SizingVariant::Menu, true, 1, 700, 482},       {200, 200, 2, SizingVariant::Menu, false, 0, 0, 0},
        {200, 200, 2, SizingVariant::StartUp, true, 0, 200, 130},
    };
    for (const auto& c : cases) {
        const OptimalPlacement p = OptimalSize(Screen(c.w, c.h), c.cell, c.v);
        EXPECT_EQ(std::make_tuple(p.resize, p.fontCell, p.width, p.height), std::make_tuple(c.resize, c.fc, c.width, c.height))
            << c.w << "x" << c.h << " cell " << int(c.cell);
        EXPECT_TRUE(!p.resize || (p.x == (c.w - p.width) / 2 && p.y == (c.h - p.height) / 2));
    }
    const TrackSize t = MinimumTrackSize(Screen(1280, 1024), 2);
    EXPECT_EQ(std::make_pair(t.width, t.height), std::make_pair(16 + 2 * (13 * 32 + 4 + 4), 19 + 19 + 20 + 2 * (4 + 32)));
}

// The quote rule, including its odd half-quoted case, and a folder that is
// never empty: without a backslash there is no folder at all.
TEST(ProgramPaths, CommandLineAndFolder) {
    EXPECT_EQ(CommandLinePath("\"C:\\my files\\a.bin\""), "C:\\my files\\a.bin");
    EXPECT_EQ(CommandLinePath("\"C:\\a.bin"), "C:\\a.bi");
    EXPECT_EQ(CommandLinePath("C:\\a.bin"), "C:\\a.bin");
    EXPECT_EQ(CommandLinePath("\""), "");
    EXPECT_EQ(ProgramDirectory("Z:\\tools\\vop\\Vop.exe"), "Z:\\tools\\vop\\");
    EXPECT_EQ(ProgramDirectory("Vop.exe"), std::nullopt);
    EXPECT_EQ(ProgramDirectory("\\Vop.exe"), std::nullopt);
    const std::string deep = "C:\\" + std::string(600, 'd') + "\\\xCE\xA9\\";
    EXPECT_EQ(ProgramDirectory(deep + "Vop.exe"), deep);
}

}  // namespace
}  // namespace vop
