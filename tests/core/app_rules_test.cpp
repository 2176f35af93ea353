// The main window's plain rules: sizing to the screen, the minimum tracking
// size, the command line and the program's folder.
#include <gtest/gtest.h>

#include "app/program_paths.h"
#include "app/window_sizing.h"

namespace vop {
namespace {

WindowMetrics Screen(int width, int height) {
    WindowMetrics m;
    m.screenWidth = width;
    m.screenHeight = height;
    m.frame = 4;
    m.vscroll = 16;
    m.caption = 19;
    m.menu = 19;
    m.statusBar = 20;
    return m;
}

int DataHeight(const WindowMetrics& m, const OptimalPlacement& p) {
    return p.height - 2 * m.frame - m.statusBar - m.caption - m.menu;
}

// Guards the width formula and the whole-row height.
TEST(OptimalSize, PicksTheWidestRowThatFitsAndWholeRows) {
    const WindowMetrics m = Screen(1280, 1024);
    for (std::uint8_t cell : {0, 1}) {
        const OptimalPlacement p = OptimalSize(m, cell, SizingVariant::StartUp);
        ASSERT_TRUE(p.resize);
        EXPECT_EQ(p.fontCell, cell);
        const int cw = cell == 0 ? 8 : 16, ins = cell == 0 ? 1 : 2;
        const int dataWidth = p.width - m.vscroll - 2 * (5 * cw + ins + m.frame);
        EXPECT_EQ(dataWidth, cell == 0 ? 128 * 8 : 64 * 16);
        EXPECT_EQ(DataHeight(m, p) % (2 * cw), 0);
        EXPECT_LE(p.height, m.screenHeight);
        EXPECT_EQ(p.x, (1280 - p.width) / 2);
        EXPECT_EQ(p.y, (1024 - p.height) / 2);
    }
}

TEST(OptimalSize, HeightIsSeventyPercentOfWidthCappedByTheScreen) {
    const WindowMetrics wide = Screen(3000, 600);
    const OptimalPlacement p = OptimalSize(wide, 0, SizingVariant::StartUp);
    EXPECT_LE(p.height, 600);
    EXPECT_GT(p.height, 600 - 16);
    const WindowMetrics tall = Screen(1280, 2000);
    const OptimalPlacement q = OptimalSize(tall, 0, SizingVariant::StartUp);
    EXPECT_LE(q.height, static_cast<int>(q.width * 0.7));
    EXPECT_GT(q.height, static_cast<int>(q.width * 0.7) - 16);
}

// Guards the two fall-back paths: start-up goes straight to Normal, the menu
// steps down one size at a time.
TEST(OptimalSize, TooNarrowForQuad) {
    // 16 bytes at 32 px need 512 + 2*(160+4+4) + 16 = 864; at 16 px 256 + 2*(80+2+4) + 16 = 444.
    const WindowMetrics m = Screen(700, 600);
    const OptimalPlacement startUp = OptimalSize(m, 2, SizingVariant::StartUp);
    EXPECT_TRUE(startUp.resize);
    EXPECT_EQ(startUp.fontCell, 0);
    const OptimalPlacement menu = OptimalSize(m, 2, SizingVariant::Menu);
    EXPECT_TRUE(menu.resize);
    EXPECT_EQ(menu.fontCell, 1);
}

TEST(OptimalSize, NothingFitsAtNormal) {
    const WindowMetrics m = Screen(200, 200);
    const OptimalPlacement menu = OptimalSize(m, 0, SizingVariant::Menu);
    EXPECT_FALSE(menu.resize);  // the window keeps its size and place
    EXPECT_EQ(menu.fontCell, 0);
    const OptimalPlacement menuFromQuad = OptimalSize(m, 2, SizingVariant::Menu);
    EXPECT_FALSE(menuFromQuad.resize);
    EXPECT_EQ(menuFromQuad.fontCell, 0);
    const OptimalPlacement startUp = OptimalSize(m, 2, SizingVariant::StartUp);
    ASSERT_TRUE(startUp.resize);  // start-up takes the available width as it is
    EXPECT_EQ(startUp.fontCell, 0);
    EXPECT_EQ(startUp.width, 200);
}

TEST(MinimumTrackSize, RoomForSixteenBytesAndOneRow) {
    const WindowMetrics m = Screen(1280, 1024);
    const TrackSize t0 = MinimumTrackSize(m, 0);
    EXPECT_EQ(t0.width, 16 + 2 * (13 * 8 + 1 + 4));
    EXPECT_EQ(t0.height, 19 + 19 + 20 + 2 * (4 + 8));
    const TrackSize t2 = MinimumTrackSize(m, 2);
    EXPECT_EQ(t2.width, 16 + 2 * (13 * 32 + 4 + 4));
    EXPECT_EQ(t2.height, 19 + 19 + 20 + 2 * (4 + 32));
}

// Guards the quote rule, including its odd half-quoted case.
TEST(CommandLine, QuotesAreRemovedAsTheFirstAndLastCharacter) {
    EXPECT_EQ(CommandLinePath("\"C:\\my files\\a.bin\""), "C:\\my files\\a.bin");
    EXPECT_EQ(CommandLinePath("\"C:\\a.bin"), "C:\\a.bi");
    EXPECT_EQ(CommandLinePath("C:\\a.bin"), "C:\\a.bin");
    EXPECT_EQ(CommandLinePath("relative.bin"), "relative.bin");
    EXPECT_EQ(CommandLinePath("\""), "");
    EXPECT_EQ(CommandLinePath("\"\""), "");
}

// Guards against a long install path being cut (fonts and settings not found).
TEST(ProgramDirectory, CutsAfterTheLastBackslash) {
    EXPECT_EQ(ProgramDirectory("Z:\\tools\\vop\\Vop.exe"), "Z:\\tools\\vop\\");
    EXPECT_EQ(ProgramDirectory("Vop.exe"), std::nullopt);
    EXPECT_EQ(ProgramDirectory("\\Vop.exe"), std::nullopt);
    const std::string deep = "C:\\" + std::string(600, 'd') + "\\" + std::string(300, 'e') + "\\";
    EXPECT_EQ(ProgramDirectory(deep + "Vop.exe"), deep);
}

}  // namespace
}  // namespace vop
