// Writing the held pages back, reverting them, and the save questions, with a
// disk that fails in every way the file layer can report.
#include "document/saving.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>
#include <tuple>

#include "document/line_index.h"
#include "view/document_view.h"
#include "support/fake_ui.h"
#include "support/faulty_files.h"
#include "support/temp_files.h"

namespace vop {
namespace {

using test::ReadWholeFile;
constexpr std::uint32_t P = PageSize;
constexpr const char* ReadOnlyWarning = " has been opened as read only. Any attempt of modifying it will fail!";

// The model is two byte arrays at absolute addresses: what the file must hold
// (disk) and what the user sees (shown: the file plus the unsaved edits).
class SavingTest : public ::testing::Test {
protected:
    void SetUp() override {
        s.ui = &ui;
        s.files = &files;
    }

    void Open(std::size_t size, std::uint32_t page = 0) {
        original = test::PatternBytes(size, static_cast<std::uint32_t>(size) + 3);
        path = dir.write("doc", original);
        ASSERT_EQ(OpenDocument(s, path, page), LoadOutcome::Loaded);
        disk = shown = original;
        ui.boxes.clear();
    }

    // Overwrites one held byte as typing does: the page block and Modified.
    void Edit(PageSlot slot, std::uint32_t offset, std::uint8_t value) {
        s.slot(slot)->Bytes[offset] = value;
        s.Modified = 1;
        shown[std::uint64_t{s.pages.PageIndex} * P + (slot == PageSlot::Next ? P : 0) + offset] = value;
    }

    void RandomEdit(std::mt19937& rng) {
        const PageSlot slot = s.pages.NextPage.present() && rng() % 2 ? PageSlot::Next : PageSlot::Current;
        Edit(slot, static_cast<std::uint32_t>(rng() % s.slotLength(slot)), static_cast<std::uint8_t>(rng()));
    }

    // Scripts the answer to a save question, when one will be asked, and its
    // effect on the model. Returns whether the pages may leave: not after
    // Cancel, nor when Yes meets a save that fails.
    bool Answer(BoxAnswer answer) {
        if (!s.Modified) return true;
        ui.answers.push_back(answer);
        if (answer == BoxAnswer::Cancel || (answer == BoxAnswer::Yes && files.plan.failOpenUpdate)) return false;
        if (answer == BoxAnswer::Yes) disk = shown;
        else shown = disk;
        return true;
    }

    // The file holds `disk`, every held page shows `shown`, an unmodified
    // window shows the file, and no file is left open.
    void CheckModel(const std::string& step) {
        SCOPED_TRACE(step);
        ASSERT_TRUE(ui.answers.empty());  // every scripted answer was asked for
        ASSERT_TRUE(ReadWholeFile(path) == disk);  // never longer or shorter either
        const PageBuffer* held[] = {&s.pages.PrevPage, &s.pages.CurrentPage, &s.pages.NextPage};
        for (std::uint64_t k = 0; k < 3; ++k) {
            const std::uint64_t start = (s.pages.PageIndex + k - 1) * P, n = held[k]->Length;
            ASSERT_TRUE(n == 0 || start + n <= shown.size()) << k;
            ASSERT_TRUE(n == 0 || std::memcmp(held[k]->Bytes.get(), &shown[start], n) == 0) << k;
        }
        ASSERT_TRUE((s.Modified || shown == disk) && files.openFiles == 0);
    }

    test::TempDir dir;
    test::FakeUi ui;
    test::FaultyFileSystem files;
    EditorState s;
    std::string path;
    std::vector<std::uint8_t> original, disk, shown;
};

// Without a document nothing is held, asked, opened or lost.
TEST_F(SavingTest, NothingToDoWithoutADocument) {
    EXPECT_TRUE(SaveDocument(s) && PromptSavePage(s) && PromptSaveFile(s) == 0);
    CheckWritable(s);
    RevertPages(s);
    EXPECT_TRUE(ui.boxes.empty() && files.openedPaths.empty());
}

// A disk that fails: the failure's own message, Modified and the held bytes
// kept, Close or Exit stopped; once the disk is sound the next save writes all.
// pagesWritten: how many of the two edited pages reached the file anyway.
TEST_F(SavingTest, FailedSavesAreReportedAndLoseNothing) {
    enum Fault { ReadOnly, Deleted, SeekFails, FirstWriteFails, SecondWriteFails, FlushLost };
    const struct { Fault fault; const char* message; std::uint32_t pagesWritten; } cases[] = {
        {ReadOnly, "Error opening file for writing!", 0}, {Deleted, "Error opening file for writing!", 0},
        {SeekFails, "Error seeking in file!", 0},          {FirstWriteFails, "Error writing file!", 0},
        {SecondWriteFails, "Error writing file!", 1},      {FlushLost, "Error writing file!", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        Open(3 * P);
        files.plan.failOpenUpdate = c.fault == ReadOnly;
        CheckWritable(s);  // right after opening: a read-only file is named, nothing else said
        EXPECT_EQ(ui.lastBoxText(), c.fault == ReadOnly ? "File " + path + ReadOnlyWarning : "");
        Edit(PageSlot::Current, 200, 0x66);
        Edit(PageSlot::Next, 200, 0x77);
        files.plan.failSeek = c.fault == SeekFails;
        files.plan.failClose = c.fault == FlushLost;
        files.plan.failWriteNumber = c.fault == FirstWriteFails ? files.writes + 1
                                   : c.fault == SecondWriteFails ? files.writes + 2 : 0;
        files.plan.partialWriteBytes = 150;
        if (c.fault == Deleted) std::filesystem::remove(path);
        ui.answers = {BoxAnswer::Yes};
        EXPECT_EQ(PromptSaveFile(s), -1);
        EXPECT_EQ(ui.lastBoxText(), c.message);
        EXPECT_TRUE(ui.boxes.back().title == "Error" && s.Modified);
        if (c.fault == Deleted) {
            EXPECT_FALSE(std::filesystem::exists(path));  // an update never creates the file
            RevertPages(s);
            EXPECT_EQ(ui.lastBoxText(), "Error opening file!");
            dir.write("doc", original);
        }
        disk.assign(shown.begin(), shown.begin() + c.pagesWritten * P);
        disk.insert(disk.end(), original.begin() + c.pagesWritten * P, original.end());
        CheckModel("after the failure");
        files.plan = {};
        EXPECT_TRUE(SaveDocument(s));
        disk = shown;
        CheckModel("after the next save");
    }
}

// A file that shrank under the held pages: a revert reads back what is still
// there, keeps the rest and rebuilds the text view's index from the file; a
// save writes the held pages whole, as shown.
TEST_F(SavingTest, FileThatShrankIsRevertedInPartAndSavedWhole) {
    Open(2 * P);
    Edit(PageSlot::Current, 10, 0xA1);
    Edit(PageSlot::Current, 5000, 0xA2);
    Edit(PageSlot::Next, 10, 0xA3);
    std::filesystem::resize_file(path, 1000);
    s.TextViewOn = 1;
    ui.answers = {BoxAnswer::No, BoxAnswer::Yes};
    EXPECT_TRUE(PromptSavePage(s, BoxOwner::ActiveDialog));  // asked over a dialog
    EXPECT_EQ(ui.boxes.at(0).owner, BoxOwner::ActiveDialog);
    const std::uint8_t* current = s.pages.CurrentPage.Bytes.get();
    EXPECT_TRUE(current[10] == original[10] && current[5000] == 0xA2 && s.pages.NextPage.Bytes[10] == 0xA3);
    EXPECT_EQ(s.pages.CurrentPage.Length, P);
    EXPECT_EQ(s.lines.LineCount, std::count(original.begin(), original.begin() + 1000, '\n') + 1);
    shown[10] = original[10];
    s.Modified = 1;
    EXPECT_EQ(PromptSaveFile(s), 0);
    EXPECT_TRUE(ReadWholeFile(path) == shown);
}

// Random edits, shifts, jumps, saves, questions and reverts on many file sizes
// against the model; on the last files the disk often refuses to be written,
// and nothing the user did not drop may then be lost.
TEST_F(SavingTest, RandomSessionsKeepDiskAndPagesRight) {
    using Box = std::tuple<std::string, std::string, BoxButtons, BoxOwner>;
    const Box known[] = {
        {"Part of the file was modified. Save changes?", "Warning", BoxButtons::YesNo, BoxOwner::MainWindow},
        {"File has been modified. Save changes?", "Save file", BoxButtons::YesNoCancel, BoxOwner::MainWindow},
        {"Error opening file for writing!", "Error", BoxButtons::Ok, BoxOwner::MainWindow}};
    const std::pair<std::uint32_t, bool> runs[] = {{1, false},      {100, false}, {P - 1, false},
                                                   {P, false},      {P + 1, false}, {2 * P, false},
                                                   {3 * P + 17, false}, {P + 1, true}, {4 * P + 9, true}};
    const BoxAnswer answers[] = {BoxAnswer::Yes, BoxAnswer::No, BoxAnswer::Cancel};
    std::mt19937 rng(11);
    for (const auto& [size, failing] : runs) {
        SCOPED_TRACE(testing::Message() << size << (failing ? " bytes on a failing disk" : " bytes"));
        Open(size);
        const std::uint32_t pages = (size + P - 1) / P;
        for (int step = 0; step < 250 && !HasFatalFailure(); ++step) {
            files.plan.failOpenUpdate = failing && rng() % 3 == 0;
            const unsigned op = rng() % 10;
            const BoxAnswer answer = answers[rng() % (op == 8 ? 3 : 2)];  // Cancel only where it is offered
            if (op < 4) {
                RandomEdit(rng);
            } else if (op == 4) {
                EXPECT_EQ(SaveDocument(s), !files.plan.failOpenUpdate);
                if (!files.plan.failOpenUpdate) disk = shown;
            } else if (op == 5 || op == 6) {  // shifts, where there is a page to shift to
                if (!(op == 5 ? s.pages.NextPage : s.pages.PrevPage).present()) continue;
                const bool leaves = Answer(answer);
                EXPECT_EQ(op == 5 ? LoadNextPage(s, 0) : LoadPreviousPage(s, 16), leaves);
            } else if (op == 7 || op == 8) {  // a jump to another page, or Close and Open: ask, then reload
                const bool leaves = Answer(answer);
                EXPECT_EQ(op == 7 ? PromptSavePage(s) : PromptSaveFile(s) == 0, leaves);
                EXPECT_TRUE(!leaves || OpenDocument(s, path, static_cast<std::uint32_t>(rng() % pages)) == LoadOutcome::Loaded);
            } else {
                s.Modified = 0;
                RevertPages(s);
                shown = disk;
            }
            files.plan.failOpenUpdate = false;
            CheckModel("operation " + std::to_string(op) + " at step " + std::to_string(step));
        }
        for (const test::RecordedBox& box : ui.boxes) {  // the questions, and the save's error on a failing disk
            const Box* end = known + (failing ? 3 : 2);
            EXPECT_NE(std::find(known, end, Box{box.text, box.title, box.buttons, box.owner}), end) << box.text;
        }
        ui.boxes.clear();
    }
}

}  // namespace
}  // namespace vop
