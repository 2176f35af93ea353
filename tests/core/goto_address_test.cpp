#include "dialogs/goto_address.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "document/page_window.h"
#include "support/fake_ui.h"
#include "support/temp_files.h"
#include "view/caret_navigation.h"
#include "view/data_window_input.h"

namespace vop {
namespace {

using test::FakeUi;
using test::PatternBytes;
using test::ReadWholeFile;
using test::TempDir;

struct Doc {
    TempDir dir;
    FakeUi ui;
    EditorState s;
    std::vector<std::uint8_t> bytes;
    std::string path;
    Doc(std::size_t size, ClientSize client = {300, 160}) {  // 16 per row, 10 rows
        ui.client = client;
        s.ui = &ui;
        bytes = PatternBytes(size, 5);
        path = dir.write("g.bin", bytes);
        EXPECT_TRUE(OpenDocument(s, path, 0));
    }
};

// Guards against an off-by-one at the end of the file.
TEST(GotoAddress, LastByteAndOnePast) {
    Doc d(5 * 65536 + 10);
    EXPECT_TRUE(GotoAddress(d.s, 5 * 65536 + 9, BoxOwner::ActiveDialog, true));
    EXPECT_EQ(CaretAddress(d.s), 5u * 65536 + 9);
    EXPECT_EQ(d.s.pages.PageIndex, 5u);
    EXPECT_TRUE(d.ui.boxes.empty());

    const std::uint32_t before = CaretAddress(d.s);
    EXPECT_FALSE(GotoAddress(d.s, 5 * 65536 + 10, BoxOwner::ActiveDialog, true));
    ASSERT_EQ(d.ui.boxes.size(), 1u);
    EXPECT_EQ(d.ui.boxes[0].text, "Specified address is greater than filesize!");
    EXPECT_EQ(d.ui.boxes[0].title, "Forget it");
    EXPECT_EQ(d.ui.boxes[0].owner, BoxOwner::ActiveDialog);
    EXPECT_EQ(d.ui.boxes[0].buttons, BoxButtons::Ok);
    EXPECT_EQ(CaretAddress(d.s), before);
}

// Guards against scrolling a file that fits on one screen.
TEST(GotoAddress, OneScreenFileOnlyMovesTheCaret) {
    Doc d(100, {300, 600});
    const int invalidations = d.ui.invalidations;
    EXPECT_TRUE(GotoAddress(d.s, 77, BoxOwner::DataWindow, false));
    EXPECT_EQ(d.s.TopOffset, 0);
    EXPECT_EQ(d.s.grid.caretRow, 4);
    EXPECT_EQ(d.s.grid.caretColumn, 13);
    EXPECT_EQ(d.ui.invalidations, invalidations);
    EXPECT_EQ(d.ui.caretX, 23 * 8 + 1);
    EXPECT_EQ(d.ui.statusText[0], "0000004Dh");
}

// Guards against reloading around the wrong page or leaving the row elsewhere.
TEST(GotoAddress, TargetInAnotherPageBecomesTopRow) {
    Doc d(4 * 65536);
    EXPECT_TRUE(GotoAddress(d.s, 0x12345, BoxOwner::DataWindow, false));
    EXPECT_EQ(d.s.pages.PageIndex, 1u);
    EXPECT_TRUE(d.s.pages.PrevPage.present());
    EXPECT_EQ(d.s.TopOffset, 0x2340);
    EXPECT_EQ(d.s.grid.caretRow, 0);
    EXPECT_EQ(d.s.grid.caretColumn, 5);
    EXPECT_EQ(CaretAddress(d.s), 0x12345u);
    EXPECT_EQ(d.s.grid.at(0, 15), d.bytes[0x12345]);
    EXPECT_EQ(d.ui.scrollPos, 0x1234);
    EXPECT_EQ(d.ui.statusText[0], "00012345h");
}

// Guards against a jump that drops or keeps changes against the user's answer.
TEST(GotoAddress, SaveQuestionYesWritesThePages) {
    Doc d(4 * 65536);
    DataWindowChar(d.s, 'Z', false);
    ASSERT_EQ(d.s.Modified, 1);
    d.ui.answers.push_back(BoxAnswer::Yes);
    EXPECT_TRUE(GotoAddress(d.s, 3 * 65536, BoxOwner::ActiveDialog, true));
    ASSERT_EQ(d.ui.boxes.size(), 1u);
    EXPECT_EQ(d.ui.boxes[0].text, "Part of the file was modified. Save changes?");
    EXPECT_EQ(d.ui.boxes[0].title, "Warning");
    EXPECT_EQ(d.ui.boxes[0].buttons, BoxButtons::YesNo);
    EXPECT_EQ(d.ui.boxes[0].owner, BoxOwner::ActiveDialog);
    EXPECT_EQ(ReadWholeFile(d.path)[0], 'Z');
    EXPECT_EQ(d.s.Modified, 0);
    EXPECT_EQ(d.s.pages.PageIndex, 3u);
}

TEST(GotoAddress, SaveQuestionNoRestoresTheFileBytes) {
    Doc d(4 * 65536);
    DataWindowChar(d.s, 'Z', false);
    d.ui.answers.push_back(BoxAnswer::No);
    EXPECT_TRUE(GotoAddress(d.s, 3 * 65536, BoxOwner::ActiveDialog, true));
    EXPECT_EQ(ReadWholeFile(d.path), d.bytes);
    EXPECT_EQ(d.s.Modified, 0);
    GotoAddress(d.s, 0, BoxOwner::ActiveDialog, true);
    EXPECT_EQ(d.s.pages.CurrentPage.Bytes[0], d.bytes[0]);
}

TEST(GotoAddress, NoQuestionWithinTheCurrentPage) {
    Doc d(4 * 65536);
    DataWindowChar(d.s, 'Z', false);
    EXPECT_TRUE(GotoAddress(d.s, 60000, BoxOwner::ActiveDialog, true));
    EXPECT_TRUE(d.ui.boxes.empty());
    EXPECT_EQ(d.s.Modified, 1);
    EXPECT_EQ(d.s.pages.CurrentPage.Bytes[0], 'Z');
}

// Guards against losing changes when the save the user asked for fails: the
// window stays on the unsaved pages, which keep their bytes and the flag.
TEST(GotoAddress, FailedSaveDoesNotMoveAway) {
    Doc d(4 * 65536);
    GotoAddress(d.s, 100, BoxOwner::DataWindow, false);
    DataWindowChar(d.s, 'Z', false);
    const std::uint32_t caret = CaretAddress(d.s);
    std::filesystem::rename(d.path, d.path + ".gone");
    d.ui.answers.push_back(BoxAnswer::Yes);
    EXPECT_FALSE(GotoAddress(d.s, 3 * 65536 + 5, BoxOwner::ActiveDialog, true));
    std::filesystem::rename(d.path + ".gone", d.path);
    EXPECT_EQ(d.s.pages.PageIndex, 0u);
    EXPECT_EQ(CaretAddress(d.s), caret);
    EXPECT_EQ(d.s.Modified, 1);
    EXPECT_EQ(d.s.pages.CurrentPage.Bytes[100], 'Z');
    EXPECT_EQ(d.ui.boxes.back().text, "Error opening file for writing!");
    // Answering No now drops the change and lets the jump through.
    d.ui.answers.push_back(BoxAnswer::No);
    EXPECT_TRUE(GotoAddress(d.s, 3 * 65536 + 5, BoxOwner::ActiveDialog, true));
    EXPECT_EQ(CaretAddress(d.s), 3u * 65536 + 5);
    EXPECT_EQ(ReadWholeFile(d.path), d.bytes);
}

// Guards against putting the caret on a byte of the old page when the target
// page cannot be loaded.
TEST(GotoAddress, FailedReloadLeavesTheView) {
    Doc d(4 * 65536);
    GotoAddress(d.s, 300, BoxOwner::DataWindow, false);
    const std::int32_t top = d.s.TopOffset;
    std::filesystem::rename(d.path, d.path + ".gone");
    EXPECT_FALSE(GotoAddress(d.s, 2 * 65536 + 7, BoxOwner::DataWindow, false));
    std::filesystem::rename(d.path + ".gone", d.path);
    EXPECT_EQ(d.s.pages.PageIndex, 0u);
    EXPECT_EQ(CaretAddress(d.s), 300u);
    EXPECT_EQ(d.s.TopOffset, top);
    EXPECT_EQ(d.ui.boxes.back().text, "Error opening file: " + d.path);
}

// Guards against the replace-all run asking again after a Yes, or going on after a No.
TEST(GotoAddress, ReplaceAllFlags) {
    Doc d(4 * 65536);
    d.s.ReplaceAllRunning = 1;
    DataWindowChar(d.s, 'Q', false);
    d.ui.answers.push_back(BoxAnswer::Yes);
    GotoAddress(d.s, 2 * 65536, BoxOwner::ActiveDialog, false);
    EXPECT_EQ(d.s.ReplaceAllSaveAgreed, 1);
    EXPECT_EQ(d.ui.boxes.size(), 1u);

    DataWindowChar(d.s, 'R', false);
    GotoAddress(d.s, 0, BoxOwner::ActiveDialog, false);
    EXPECT_EQ(d.ui.boxes.size(), 1u);  // saved without asking
    EXPECT_EQ(ReadWholeFile(d.path)[2 * 65536], 'R');

    d.s.ReplaceAllSaveAgreed = 0;
    DataWindowChar(d.s, 'S', false);
    d.ui.answers.push_back(BoxAnswer::No);
    GotoAddress(d.s, 3 * 65536, BoxOwner::ActiveDialog, false);
    EXPECT_EQ(d.s.ReplaceAllDeclined, 1);
    EXPECT_EQ(ReadWholeFile(d.path)[0], 'Q');
}

}  // namespace
}  // namespace vop
