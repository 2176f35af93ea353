// How much of the file fits in the data window, and what the grid shows.
#include "view/screen_layout.h"

#include <gtest/gtest.h>

#include "files/real_file_system.h"

#include <array>
#include <string>
#include <tuple>

#include "view/document_view.h"
#include "support/fake_ui.h"
#include "support/temp_files.h"

namespace vop {
namespace {

std::string RowLabel(const ScreenGrid& g, int row) {
    return std::string(g.cells.begin() + row * g.columns, g.cells.begin() + row * g.columns + 10);
}

// Guards against off-by-one thresholds: a row width is reached exactly where
// its cells, the address column and both insets fit; partial rows do not
// count, a tiny window still has one, and a screen never holds a page.
TEST(Layout, RowWidthAndRowCountThresholds) {
    const std::array<int, 3> widths[] = {{593, 0, 32},   {594, 0, 64},    {337, 0, 16},  {2130, 0, 256},
                                         {1187, 1, 32},  {1188, 1, 64},   {8519, 2, 128}, {8520, 2, 256},
                                         {100, 0, 16},   {0, 2, 16},      {-5, 1, 16}};
    for (const auto& [width, fc, n] : widths) EXPECT_EQ(BytesPerRowFor(width, fc), n) << width << " " << fc;
    const std::array<int, 3> heights[] = {{15, 0, 1}, {16, 0, 1}, {47, 0, 2}, {48, 0, 3},
                                          {0, 1, 1},  {63, 2, 1}, {128, 2, 2}};
    for (const auto& [height, fc, rows] : heights) EXPECT_EQ(ScreenRowsFor(height, fc), rows) << height << " " << fc;
    test::FakeUi ui;
    ui.client = {2200, 5000};
    EditorState s;
    s.ui = &ui;
    s.files = &RealFileSystem();
    EXPECT_EQ(std::make_pair(BytesPerRow(s), ScreenRows(s)), std::make_pair(256, 255));
}

// Guards against wrong labels, wrong end-of-data marking, stopping at the end
// of the current page or mislabelling the rows from the next page.
TEST(FillScreenGrid, ShortFileAndPageBorder) {
    test::TempDir dir;
    test::FakeUi ui;
    ui.client = {300, 600};  // 16 per row, 37 rows
    EditorState s;
    s.ui = &ui;
    s.files = &RealFileSystem();
    const auto bytes = test::PatternBytes(6 * 65536 + 5, 3);
    ASSERT_EQ(OpenDocument(s, dir.write("short.bin", {bytes.begin(), bytes.begin() + 100}), 0), LoadOutcome::Loaded);
    const ScreenGrid& g = s.grid;
    EXPECT_EQ(std::make_tuple(RowLabel(g, 6), g.at(6, 10 + 3), g.at(6, 10 + 4), RowLabel(g, 7), g.filledCells),
              std::make_tuple("00000060: ", bytes[99], 0x20, "          ", 170));

    ui.client = {300, 160};  // 10 rows
    ASSERT_EQ(OpenDocument(s, dir.write("long.bin", bytes), 3), LoadOutcome::Loaded);
    s.TopOffset = 65536 - 2 * 16;
    FillScreenGrid(s);
    EXPECT_EQ(std::make_tuple(RowLabel(g, 1), RowLabel(g, 2), g.at(1, 25), g.at(2, 10), g.at(9, 25), g.filledCells),
              std::make_tuple("0003FFF0: ", "00040000: ", bytes[0x3FFFF], bytes[0x40000], bytes[0x4007F], 26 * 10));

    EditorState none;
    FillScreenGrid(none);
    EXPECT_TRUE(none.grid.empty());
}

// Guards against an inverted run that does not wrap to the first byte
// column of the next row, or inverts anything when empty.
TEST(InvertCells, RunWrapsAtTheRowEnd) {
    struct InvertUi : test::FakeUi {
        std::vector<std::array<int, 4>> rects;
        void invertDataRect(int l, int t, int r, int b) override { rects.push_back({l, t, r, b}); }
    } ui;
    ui.client = {300, 160};  // 16 per row
    EditorState s;
    s.ui = &ui;
    s.files = &RealFileSystem();
    InvertCells(s, 24 * 8, 0, 4);
    InvertCells(s, 80, 0, 0);
    InvertCells(s, 80, 0, -3);
    const std::vector<std::array<int, 4>> expected = {{192, 0, 200, 16}, {200, 0, 208, 16}, {80, 16, 88, 32},
                                                      {88, 16, 96, 32}};
    EXPECT_EQ(ui.rects, expected);
}

}  // namespace
}  // namespace vop
