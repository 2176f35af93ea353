// The main window's optimal size, and where the program and a command-line
// file are. (The data window's bytes per row and rows are laid out against
// their own reference after every step of editor_model_test.)
#include <gtest/gtest.h>

#include "app/program_paths.h"
#include "app/window_sizing.h"

namespace vop {
namespace {

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
}

// The quote rule, including its odd half-quoted case, and a folder that is
// never empty: without a backslash there is no folder at all.
TEST(ProgramPaths, CommandLineAndFolder) {
    EXPECT_EQ(CommandLinePath("\"C:\\my files\\a.bin\""), "C:\\my files\\a.bin");
    EXPECT_EQ(CommandLinePath("\"C:\\a.bin"), "C:\\a.bi");
    EXPECT_EQ(std::make_pair(CommandLinePath("\""), CommandLinePath("C:\\a.bin")), std::make_pair(std::string(), std::string("C:\\a.bin")));
    EXPECT_EQ(ProgramDirectory("Z:\\tools\\vop\\Vop.exe"), "Z:\\tools\\vop\\");
    EXPECT_TRUE(!ProgramDirectory("Vop.exe") && !ProgramDirectory("\\Vop.exe"));
}

}  // namespace
}  // namespace vop
