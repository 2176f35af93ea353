#include "view/screen_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "document/page_window.h"
#include "support/fake_ui.h"
#include "support/temp_files.h"
#include "view/caret_navigation.h"

namespace vop {
namespace {

using test::FakeUi;
using test::PatternBytes;
using test::TempDir;

std::string RowLabel(const ScreenGrid& g, int row) {
    std::string label;
    for (int c = 0; c < 10; ++c) label.push_back(static_cast<char>(g.at(row, c)));
    return label;
}

struct Opened {
    TempDir dir;
    FakeUi ui;
    EditorState s;
    std::vector<std::uint8_t> bytes;

    Opened(std::size_t size, ClientSize client, std::uint8_t fontCell = 0) {
        ui.client = client;
        s.ui = &ui;
        s.settings.FontCell = fontCell;
        bytes = PatternBytes(size, 7);
        const std::string path = dir.write("f.bin", bytes);
        EXPECT_TRUE(OpenDocument(s, path, 0));
    }
};

// Guards against off-by-one thresholds in the row width: each width is
// reached exactly at the client width where n cells plus the address column
// and both insets fit.
TEST(BytesPerRow, ThresholdsAtEveryFontCell) {
    const int smallest[3][4] = {{2130, 1106, 594, 338}, {4260, 2212, 1188, 676}, {8520, 4424, 2376, 1352}};
    const int widths[4] = {256, 128, 64, 32};
    for (std::uint8_t fc = 0; fc < 3; ++fc) {
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(BytesPerRowFor(smallest[fc][i], fc), widths[i]) << int(fc) << " " << i;
            EXPECT_EQ(BytesPerRowFor(smallest[fc][i] - 1, fc), i < 3 ? widths[i + 1] : 16) << int(fc) << " " << i;
        }
    }
    EXPECT_EQ(BytesPerRowFor(593, 0), 32);
    EXPECT_EQ(BytesPerRowFor(594, 0), 64);
    EXPECT_EQ(BytesPerRowFor(100, 0), 16);
    EXPECT_EQ(BytesPerRowFor(0, 2), 16);
    EXPECT_EQ(BytesPerRowFor(-5, 1), 16);
}

// Guards against counting a partial row, or returning 0 rows for a tiny window.
TEST(ScreenRows, PartialRowsAreNotCounted) {
    EXPECT_EQ(ScreenRowsFor(15, 0), 1);
    EXPECT_EQ(ScreenRowsFor(16, 0), 1);
    EXPECT_EQ(ScreenRowsFor(47, 0), 2);
    EXPECT_EQ(ScreenRowsFor(48, 0), 3);
    EXPECT_EQ(ScreenRowsFor(0, 1), 1);
    EXPECT_EQ(ScreenRowsFor(63, 2), 1);
    EXPECT_EQ(ScreenRowsFor(128, 2), 2);
}

// Guards against a screen taller than the two held pages can fill.
TEST(ScreenRows, ScreenStaysBelowOnePageOfBytes) {
    FakeUi ui;
    EditorState s;
    s.ui = &ui;
    ui.client = {2200, 5000};
    EXPECT_EQ(BytesPerRow(s), 256);
    EXPECT_EQ(ScreenRows(s), 255);
    ui.client = {800, 600};
    EXPECT_EQ(ScreenRows(s), 37);
}

// Guards against wrong labels, wrong end-of-data marking and reading past a page.
TEST(FillScreenGrid, HundredByteFile) {
    Opened o(100, {300, 600});
    const ScreenGrid& g = o.s.grid;
    ASSERT_EQ(g.columns, 26);
    for (int r = 0; r < 7; ++r) {
        char expect[11];
        std::snprintf(expect, sizeof expect, "%08X: ", r * 16);
        EXPECT_EQ(RowLabel(g, r), expect);
    }
    for (int r = 7; r < g.rows; ++r) EXPECT_EQ(RowLabel(g, r), "          ");
    EXPECT_EQ(g.filledCells, 170);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(g.at(i / 16, 10 + i % 16), o.bytes[i]);
    for (int k = 4; k < 16; ++k) EXPECT_EQ(g.at(6, 10 + k), 0x20);
}

TEST(FillScreenGrid, SizeMultipleOfRowWidth) {
    Opened o(96, {300, 600});
    const ScreenGrid& g = o.s.grid;
    EXPECT_EQ(g.filledCells, 6 * g.columns);
    EXPECT_EQ(RowLabel(g, 5), "00000050: ");
    EXPECT_EQ(RowLabel(g, 6), "          ");
}

TEST(FillScreenGrid, FileLongerThanScreenFillsEveryCell) {
    Opened o(5000, {300, 160});
    EXPECT_EQ(o.s.grid.filledCells, o.s.grid.columns * o.s.grid.rows);
}

// Guards against stopping at the end of the current page, or mislabelling
// the rows that come from the next page.
TEST(FillScreenGrid, ScreenRunsIntoNextPage) {
    TempDir dir;
    FakeUi ui;
    ui.client = {300, 160};  // 16 bytes per row, 10 rows
    EditorState s;
    s.ui = &ui;
    const auto bytes = PatternBytes(6 * 65536 + 5, 3);
    ASSERT_TRUE(OpenDocument(s, dir.write("f.bin", bytes), 3));
    s.TopOffset = 65536 - 2 * 16;
    FillScreenGrid(s);
    const ScreenGrid& g = s.grid;
    EXPECT_EQ(RowLabel(g, 0), "0003FFE0: ");
    EXPECT_EQ(RowLabel(g, 1), "0003FFF0: ");
    EXPECT_EQ(RowLabel(g, 2), "00040000: ");
    EXPECT_EQ(g.at(2, 10), bytes[0x40000]);
    EXPECT_EQ(g.at(1, 25), bytes[0x3FFFF]);
    EXPECT_EQ(g.at(9, 25), bytes[0x4007F]);
    EXPECT_EQ(g.filledCells, g.columns * g.rows);
}

// Guards against the caret cell's rectangle missing the inset or the address column.
TEST(InvalidateCaretCell, RectangleOfTheCaretCell) {
    EditorState s;
    s.settings.FontCell = 1;
    s.grid.caretColumn = 3;
    s.grid.caretRow = 2;
    struct RectUi : FakeUi {
        int l = 0, t = 0, r = 0, b = 0;
        void invalidateDataRect(int left, int top, int right, int bottom, bool) override {
            l = left, t = top, r = right, b = bottom;
        }
    } rect;
    s.ui = &rect;
    InvalidateCaretCell(s);
    EXPECT_EQ(rect.l, 13 * 16 + 2);
    EXPECT_EQ(rect.t, 64);
    EXPECT_EQ(rect.r, 13 * 16 + 2 + 16);
    EXPECT_EQ(rect.b, 96);
}

// Guards against a run that does not wrap to the first byte column of the next row.
TEST(InvertCells, WrapsAtTheRowEnd) {
    struct InvertUi : FakeUi {
        std::vector<std::pair<int, int>> origins;
        void invertDataRect(int left, int top, int right, int bottom) override {
            origins.emplace_back(left, top);
            EXPECT_EQ(right - left, 8);
            EXPECT_EQ(bottom - top, 16);
        }
    } ui;
    ui.client = {300, 160};  // 16 bytes per row
    EditorState s;
    s.ui = &ui;
    InvertCells(s, 24 * 8, 0, 4);
    ASSERT_EQ(ui.origins.size(), 4u);
    EXPECT_EQ(ui.origins[0], std::make_pair(192, 0));
    EXPECT_EQ(ui.origins[1], std::make_pair(200, 0));
    EXPECT_EQ(ui.origins[2], std::make_pair(80, 16));
    EXPECT_EQ(ui.origins[3], std::make_pair(88, 16));
    ui.origins.clear();
    InvertCells(s, 80, 0, 0);
    InvertCells(s, 80, 0, -3);
    EXPECT_TRUE(ui.origins.empty());
}

// Guards against touching the grid with no document open.
TEST(FillScreenGrid, NothingWithoutDocument) {
    EditorState s;
    FillScreenGrid(s);
    EXPECT_TRUE(s.grid.empty());
}

}  // namespace
}  // namespace vop
