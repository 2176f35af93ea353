// The jump to an address: the reload around the target, the refusal past the
// file's end, and the save question before changed pages are let go.
#include "view/goto_address.h"

#include <gtest/gtest.h>

#include "files/real_file_system.h"

#include <filesystem>
#include <tuple>

#include "view/document_view.h"
#include "support/fake_ui.h"
#include "support/temp_files.h"
#include "view/caret_navigation.h"
#include "app/data_window_input.h"

namespace vop {
namespace {

using test::ReadWholeFile;

struct Doc {
    test::TempDir dir;
    test::FakeUi ui;
    EditorState s;
    std::vector<std::uint8_t> bytes;
    std::string path;
    explicit Doc(std::size_t size, ClientSize client = {300, 160}) : bytes(test::PatternBytes(size, 5)) {
        ui.client = client;  // 16 per row, 10 rows
        s.ui = &ui;
        s.files = &RealFileSystem();
        path = dir.write("g.bin", bytes);
        EXPECT_EQ(OpenDocument(s, path, 0), LoadOutcome::Loaded);
    }
};

std::tuple<std::string, std::string, BoxOwner, BoxButtons> Box(const test::RecordedBox& b) {
    return {b.text, b.title, b.owner, b.buttons};
}

// Guards against reloading around the wrong page, leaving the target off the
// top row, scrolling a file that fits on one screen, and an off-by-one at the
// file's end, where the refused jump leaves the view as it was.
TEST(GotoAddress, TargetRowGoesToTheTopUnlessTheFileFits) {
    Doc d(4 * 65536 + 10);
    EXPECT_TRUE(GotoAddress(d.s, 0x12345, BoxOwner::DataWindow));
    EXPECT_EQ(std::make_tuple(d.s.pages.PageIndex, d.s.TopOffset, d.s.grid.caretRow, d.s.grid.caretColumn,
                              d.s.grid.at(0, 15), d.ui.scrollPos, d.ui.statusText[0]),
              std::make_tuple(1u, 0x2340, 0, 5, d.bytes[0x12345], 0x1234, "00012345h"));
    EXPECT_TRUE(GotoAddress(d.s, 4 * 65536 + 9, BoxOwner::ActiveDialog));
    EXPECT_FALSE(GotoAddress(d.s, 4 * 65536 + 10, BoxOwner::ActiveDialog));
    ASSERT_EQ(d.ui.boxes.size(), 1u);
    EXPECT_EQ(Box(d.ui.boxes[0]), std::make_tuple("Specified address is greater than filesize!", "Forget it",
                                                  BoxOwner::ActiveDialog, BoxButtons::Ok));
    EXPECT_EQ(CaretAddress(d.s), 4u * 65536 + 9);

    Doc small(100, {300, 600});
    EXPECT_TRUE(GotoAddress(small.s, 77, BoxOwner::DataWindow));
    EXPECT_EQ(std::make_tuple(small.s.TopOffset, small.s.grid.caretRow, small.s.grid.caretColumn, small.ui.caretX),
              std::make_tuple(0, 4, 13, 23 * 8 + 1));
}

// Guards against a jump that saves or drops changes against the user's
// answer, asks when the changed page stays held, or later shows a stale page.
TEST(GotoAddress, SaveQuestionBeforeLeavingChangedPages) {
    const struct {
        std::uint32_t target;
        BoxAnswer answer;
        bool asks;
    } cases[] = {{3 * 65536, BoxAnswer::Yes, true}, {3 * 65536, BoxAnswer::No, true}, {60000, BoxAnswer::No, false}};
    for (const auto& c : cases) {
        Doc d(4 * 65536);
        DataWindowChar(d.s, 'Z', false);
        d.ui.answers.push_back(c.answer);
        EXPECT_TRUE(GotoAddress(d.s, c.target, BoxOwner::ActiveDialog));
        ASSERT_EQ(d.ui.boxes.size(), c.asks ? 1u : 0u);
        if (c.asks) {
            EXPECT_EQ(Box(d.ui.boxes[0]), std::make_tuple("Part of the file was modified. Save changes?", "Warning",
                                                          BoxOwner::ActiveDialog, BoxButtons::YesNo));
        }
        const bool saved = c.answer == BoxAnswer::Yes;
        EXPECT_EQ(ReadWholeFile(d.path)[0], saved ? 'Z' : d.bytes[0]);
        EXPECT_EQ(d.s.Modified, c.asks ? 0 : 1);
        GotoAddress(d.s, 0, BoxOwner::ActiveDialog);
        EXPECT_EQ(d.s.pages.CurrentPage.Bytes[0], saved || !c.asks ? 'Z' : d.bytes[0]);
    }
}

// Guards against losing changes when the save the user asked for fails: the
// window stays on the changed pages, which keep their bytes and the flag;
// answering No then drops the change and lets the jump through.
TEST(GotoAddress, FailedSaveDoesNotMoveAway) {
    Doc d(4 * 65536);
    GotoAddress(d.s, 100, BoxOwner::DataWindow);
    DataWindowChar(d.s, 'Z', false);
    std::filesystem::rename(d.path, d.path + ".gone");
    d.ui.answers.push_back(BoxAnswer::Yes);
    EXPECT_FALSE(GotoAddress(d.s, 3 * 65536 + 5, BoxOwner::ActiveDialog));
    std::filesystem::rename(d.path + ".gone", d.path);
    EXPECT_EQ(std::make_tuple(d.s.pages.PageIndex, CaretAddress(d.s), d.s.Modified, d.s.pages.CurrentPage.Bytes[100],
                              d.ui.lastBoxText()),
              std::make_tuple(0u, 101u, 1, 'Z', "Error opening file for writing!"));
    d.ui.answers.push_back(BoxAnswer::No);
    EXPECT_TRUE(GotoAddress(d.s, 3 * 65536 + 5, BoxOwner::ActiveDialog));
    EXPECT_EQ(ReadWholeFile(d.path), d.bytes);
}

// Guards against a replace-all run asking again after a Yes, or saving after a No.
TEST(GotoAddress, ReplaceAllAsksOnce) {
    Doc d(4 * 65536);
    d.s.ReplaceAllRunning = 1;
    DataWindowChar(d.s, 'Q', false);
    d.ui.answers.push_back(BoxAnswer::Yes);
    GotoAddress(d.s, 2 * 65536, BoxOwner::ActiveDialog);
    DataWindowChar(d.s, 'R', false);
    GotoAddress(d.s, 0, BoxOwner::ActiveDialog);  // saved without asking
    EXPECT_EQ(std::make_tuple(d.ui.boxes.size(), d.s.ReplaceAllSaveAgreed, ReadWholeFile(d.path)[2 * 65536]),
              std::make_tuple(1u, 1, 'R'));
    d.s.ReplaceAllSaveAgreed = 0;
    DataWindowChar(d.s, 'S', false);
    d.ui.answers.push_back(BoxAnswer::No);
    GotoAddress(d.s, 3 * 65536, BoxOwner::ActiveDialog);
    EXPECT_EQ(std::make_tuple(d.s.ReplaceAllDeclined, ReadWholeFile(d.path)[0]), std::make_tuple(1, 'Q'));
}

}  // namespace
}  // namespace vop
