// Writing the held pages back, reverting them, and the save questions, with a
// disk that fails in every way the file layer can report.
#include "document/saving.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>

#include "document/line_index.h"
#include "document/page_window.h"
#include "support/fake_ui.h"
#include "support/faulty_files.h"
#include "support/temp_files.h"

namespace vop {
namespace {

using test::FakeUi;
using test::FaultyFileSystem;
using test::PatternBytes;
using test::ReadWholeFile;
using test::TempDir;

constexpr std::uint32_t P = PageSize;

class SavingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui.client = {300, 600};
        s.ui = &ui;
        s.files = &files;
    }

    void Open(std::size_t size, std::uint32_t page = 0) {
        original = PatternBytes(size, static_cast<std::uint32_t>(size) + 3);
        path = dir.write("doc", original);
        ASSERT_TRUE(OpenDocument(s, path, page));
        ui.boxes.clear();
    }

    // Overwrites one held byte as typing does: the page block and Modified.
    void Edit(PageSlot slot, std::uint32_t offset, std::uint8_t value) {
        s.slot(slot)->Bytes[offset] = value;
        s.Modified = 1;
    }

    std::uint8_t Held(PageSlot slot, std::uint32_t offset) { return s.slot(slot)->Bytes[offset]; }

    TempDir dir;
    FakeUi ui;
    FaultyFileSystem files;
    EditorState s;
    std::string path;
    std::vector<std::uint8_t> original;
};

// ---- The questions: exact texts, titles, buttons and what each answer does ----

TEST_F(SavingTest, SaveWithNothingChangedStillWritesBothPagesAndClearsModified) {
    Open(3 * P);
    const int writesBefore = files.writes;
    EXPECT_TRUE(SaveDocument(s));
    EXPECT_EQ(files.writes - writesBefore, 2);
    EXPECT_EQ(s.Modified, 0);
    EXPECT_EQ(ReadWholeFile(path), original);
}

TEST_F(SavingTest, ChangeInTheNextPageIsWrittenBack) {
    Open(2 * P + 100);
    Edit(PageSlot::Next, 7, 0xAB);
    EXPECT_TRUE(SaveDocument(s));
    original[P + 7] = 0xAB;
    EXPECT_EQ(ReadWholeFile(path), original);
}

TEST_F(SavingTest, NothingToDoWithoutADocument) {
    EXPECT_TRUE(SaveDocument(s));
    EXPECT_TRUE(PromptSavePage(s));
    EXPECT_EQ(PromptSaveFile(s), 0);
    CheckWritable(s);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(files.readOpens + files.updateOpens, 0);
}

TEST_F(SavingTest, PageQuestionYesSavesNoReverts) {
    Open(2 * P);
    Edit(PageSlot::Current, 0, 0x11);
    ui.answers = {BoxAnswer::Yes};
    EXPECT_TRUE(PromptSavePage(s));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Part of the file was modified. Save changes?");
    EXPECT_EQ(ui.boxes[0].title, "Warning");
    EXPECT_EQ(ui.boxes[0].buttons, BoxButtons::YesNo);
    EXPECT_EQ(ui.boxes[0].owner, BoxOwner::MainWindow);
    EXPECT_EQ(ReadWholeFile(path)[0], 0x11);

    Edit(PageSlot::Next, 3, 0x22);
    ui.answers = {BoxAnswer::No};
    EXPECT_TRUE(PromptSavePage(s, BoxOwner::ActiveDialog));
    EXPECT_EQ(ui.boxes.back().owner, BoxOwner::ActiveDialog);
    EXPECT_EQ(s.Modified, 0);
    EXPECT_EQ(Held(PageSlot::Next, 3), original[P + 3]);  // the file's byte is back
    EXPECT_EQ(Held(PageSlot::Current, 0), 0x11);
}

TEST_F(SavingTest, FileQuestionAnswers) {
    Open(1000);
    Edit(PageSlot::Current, 1, 0x33);
    ui.answers = {BoxAnswer::Cancel};
    EXPECT_EQ(PromptSaveFile(s), -1);
    EXPECT_EQ(ui.boxes[0].text, "File has been modified. Save changes?");
    EXPECT_EQ(ui.boxes[0].title, "Save file");
    EXPECT_EQ(ui.boxes[0].buttons, BoxButtons::YesNoCancel);
    EXPECT_EQ(s.Modified, 1);

    ui.answers = {BoxAnswer::No};
    EXPECT_EQ(PromptSaveFile(s), 0);
    EXPECT_EQ(s.Modified, 0);
    EXPECT_EQ(ReadWholeFile(path), original);  // dropped, not written

    Edit(PageSlot::Current, 1, 0x33);
    ui.answers = {BoxAnswer::Yes};
    EXPECT_EQ(PromptSaveFile(s), 0);
    EXPECT_EQ(s.Modified, 0);
    EXPECT_EQ(ReadWholeFile(path)[1], 0x33);

    const std::size_t asked = ui.boxes.size();
    EXPECT_EQ(PromptSaveFile(s), 0);  // unmodified: no question
    EXPECT_EQ(ui.boxes.size(), asked);
}

TEST_F(SavingTest, RevertRebuildsTheLineIndexOnlyInTheTextView) {
    Open(100);
    s.TextViewOn = 1;
    BuildLineIndex(s);
    ASSERT_TRUE(s.lines.built());
    std::vector<std::uint8_t> text(100, 'x');
    text[10] = '\n';
    dir.write("doc", text);
    RevertPages(s);
    EXPECT_EQ(s.lines.LineCount, 2);
    s.TextViewOn = 0;
    RevertPages(s);
    EXPECT_FALSE(s.lines.built());
}

// ---- A disk that fails: the right message, Modified kept, nothing lost ----

TEST_F(SavingTest, ReadOnlyFileIsReportedAndSavesFailWithoutLosingChanges) {
    Open(2 * P);
    files.plan.failOpenUpdate = true;
    CheckWritable(s);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
              "File " + path + " has been opened as read only. Any attempt of modifying it will fail!");
    EXPECT_EQ(ui.boxes[0].title, "Read Only File");

    Edit(PageSlot::Current, 9, 0x44);
    EXPECT_FALSE(SaveDocument(s));
    EXPECT_EQ(ui.lastBoxText(), "Error opening file for writing!");
    EXPECT_EQ(ui.boxes.back().title, "Error");
    EXPECT_EQ(s.Modified, 1);

    // Close/Exit: Yes with a failed save keeps the document open and modified.
    ui.answers = {BoxAnswer::Yes};
    EXPECT_EQ(PromptSaveFile(s), -1);
    EXPECT_EQ(s.Modified, 1);
    EXPECT_TRUE(s.documentOpen());
    EXPECT_EQ(Held(PageSlot::Current, 9), 0x44);
    ui.answers = {BoxAnswer::Yes};
    EXPECT_EQ(PromptSaveFile(s), -1);  // asked again
    EXPECT_EQ(ui.boxes[ui.boxes.size() - 2].text, "File has been modified. Save changes?");
    EXPECT_EQ(ReadWholeFile(path), original);
}

TEST_F(SavingTest, WritableFileGivesNoWarning) {
    Open(10);
    CheckWritable(s);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(files.openFiles, 0);
}

TEST_F(SavingTest, DeletedFileFailsTheSaveAndTheRevertWithTheirMessages) {
    Open(2 * P);
    Edit(PageSlot::Next, 0, 0x55);
    std::filesystem::remove(path);
    EXPECT_FALSE(SaveDocument(s));
    EXPECT_EQ(ui.lastBoxText(), "Error opening file for writing!");
    EXPECT_EQ(s.Modified, 1);
    EXPECT_FALSE(std::filesystem::exists(path));  // an update never creates the file
    RevertPages(s);
    EXPECT_EQ(ui.lastBoxText(), "Error opening file!");
    EXPECT_EQ(Held(PageSlot::Next, 0), 0x55);
}

TEST_F(SavingTest, WriteFailingInTheSecondPageIsReportedAndKeepsModified) {
    Open(3 * P);
    Edit(PageSlot::Current, 100, 0x66);
    Edit(PageSlot::Next, 200, 0x77);
    files.plan.failWriteNumber = files.writes + 2;
    files.plan.partialWriteBytes = 150;
    EXPECT_FALSE(SaveDocument(s));
    EXPECT_EQ(ui.lastBoxText(), "Error writing file!");
    EXPECT_EQ(s.Modified, 1);
    const std::vector<std::uint8_t> disk = ReadWholeFile(path);
    ASSERT_EQ(disk.size(), original.size());
    EXPECT_EQ(disk[100], 0x66);             // the current page was written
    EXPECT_EQ(disk[P + 200], original[P + 200]);  // the next page only in part
    // The pages are still held: the next save writes everything.
    EXPECT_TRUE(SaveDocument(s));
    original[100] = 0x66;
    original[P + 200] = 0x77;
    EXPECT_EQ(ReadWholeFile(path), original);
    EXPECT_EQ(s.Modified, 0);
}

TEST_F(SavingTest, WriteFailingInTheFirstPageIsReported) {
    Open(P + 10);
    Edit(PageSlot::Current, 0, 0x01);
    files.plan.failWriteNumber = files.writes + 1;
    EXPECT_FALSE(SaveDocument(s));
    EXPECT_EQ(ui.lastBoxText(), "Error writing file!");
    EXPECT_EQ(s.Modified, 1);
    EXPECT_EQ(files.writes, 1);  // stopped before the next page
}

TEST_F(SavingTest, LostFlushOnCloseIsAFailedSave) {
    Open(5000);
    Edit(PageSlot::Current, 4999, 0x88);
    files.plan.failClose = true;
    EXPECT_FALSE(SaveDocument(s));
    EXPECT_EQ(ui.lastBoxText(), "Error writing file!");
    EXPECT_EQ(s.Modified, 1);
    ui.answers = {BoxAnswer::Yes};
    EXPECT_EQ(PromptSaveFile(s), -1);
}

TEST_F(SavingTest, FailedSeekIsReported) {
    Open(5000);
    Edit(PageSlot::Current, 0, 0x99);
    files.plan.failSeek = true;
    EXPECT_FALSE(SaveDocument(s));
    EXPECT_EQ(ui.lastBoxText(), "Error seeking in file!");
    EXPECT_EQ(s.Modified, 1);
    EXPECT_EQ(files.openFiles, 0);
}

TEST_F(SavingTest, RevertOfAShrunkFileKeepsWhatItReadAndNoMore) {
    Open(2 * P);
    Edit(PageSlot::Current, 10, 0xA1);
    Edit(PageSlot::Current, 5000, 0xA2);
    Edit(PageSlot::Next, 10, 0xA3);
    std::filesystem::resize_file(path, 1000);
    ui.answers = {BoxAnswer::No};
    EXPECT_TRUE(PromptSavePage(s));
    EXPECT_EQ(s.Modified, 0);
    EXPECT_EQ(Held(PageSlot::Current, 10), original[10]);  // read back
    EXPECT_EQ(Held(PageSlot::Current, 5000), 0xA2);        // beyond the file's end: untouched
    EXPECT_EQ(Held(PageSlot::Next, 10), 0xA3);
    EXPECT_EQ(s.pages.CurrentPage.Length, P);  // lengths are not touched
}

TEST_F(SavingTest, SaveIntoAShrunkFileWritesTheHeldPagesWhole) {
    Open(2 * P);
    Edit(PageSlot::Next, P - 1, 0xB1);
    std::filesystem::resize_file(path, 1000);
    ui.answers = {BoxAnswer::Yes};
    EXPECT_EQ(PromptSaveFile(s), 0);
    original[2 * P - 1] = 0xB1;
    EXPECT_EQ(ReadWholeFile(path), original);  // what the user saw is what the file holds
}

// ---- Model: random edits, shifts, jumps, saves and reverts against a byte array ----

// Absolute addresses and two byte arrays: what the file must hold and what the
// user sees (the file plus the unsaved edits in the held pages).
struct Model {
    std::vector<std::uint8_t> disk;
    std::vector<std::uint8_t> shown;
};

class SavingModelTest : public SavingTest {
protected:
    void CheckAgainst(const Model& m, const std::string& step) {
        SCOPED_TRACE(step);
        const std::vector<std::uint8_t> onDisk = ReadWholeFile(path);
        ASSERT_EQ(onDisk.size(), m.disk.size());  // the file's length never changes
        ASSERT_TRUE(onDisk == m.disk);
        const std::uint64_t base = std::uint64_t{s.pages.PageIndex} * P;
        const PageBuffer* pages[] = {&s.pages.CurrentPage, &s.pages.NextPage};
        for (int k = 0; k < 2; ++k) {
            if (!pages[k]->present()) continue;
            const std::size_t start = static_cast<std::size_t>(base + std::uint64_t(k) * P);
            ASSERT_LE(start + pages[k]->Length, m.shown.size());
            ASSERT_EQ(0, std::memcmp(pages[k]->Bytes.get(), m.shown.data() + start, pages[k]->Length));
        }
        if (s.pages.PrevPage.present()) {
            ASSERT_EQ(0, std::memcmp(s.pages.PrevPage.Bytes.get(), m.disk.data() + base - P, P));
        }
        if (!s.Modified) {
            ASSERT_TRUE(m.shown == m.disk);
        }
        ASSERT_EQ(files.openFiles, 0);
    }

    // The held pages are saved (Yes) or dropped (No) before they leave.
    void Answer(Model& m, bool yes) {
        if (!s.Modified) return;
        ui.answers.push_back(yes ? BoxAnswer::Yes : BoxAnswer::No);
        if (yes)
            m.disk = m.shown;
        else
            m.shown = m.disk;
    }
};

TEST_F(SavingModelTest, RandomEditsShiftsJumpsSavesAndRevertsKeepDiskAndPagesRight) {
    std::mt19937 rng(11);
    for (std::size_t size : {std::size_t{1}, std::size_t{100}, std::size_t{P - 1}, std::size_t{P}, std::size_t{P + 1},
                             std::size_t{2 * P}, std::size_t{3 * P + 17}}) {
        SCOPED_TRACE("file of " + std::to_string(size) + " bytes");
        Open(size);
        Model m{original, original};
        const std::uint32_t pageCount = static_cast<std::uint32_t>((size + P - 1) / P);
        for (int step = 0; step < 250; ++step) {
            const unsigned op = rng() % 10;
            std::string name;
            if (op < 4) {  // typing somewhere in the held pages
                const PageSlot slot = (s.pages.NextPage.present() && rng() % 2) ? PageSlot::Next : PageSlot::Current;
                const std::uint32_t offset = rng() % s.slotLength(slot);
                const std::uint8_t value = static_cast<std::uint8_t>(rng());
                Edit(slot, offset, value);
                m.shown[std::uint64_t{s.pages.PageIndex} * P + (slot == PageSlot::Next ? P : 0) + offset] = value;
                name = "edit";
            } else if (op == 4) {
                ASSERT_TRUE(SaveDocument(s));
                m.disk = m.shown;
                name = "save";
            } else if (op == 5 && s.pages.NextPage.present()) {
                Answer(m, rng() % 2);
                ASSERT_TRUE(LoadNextPage(s, 0));
                name = "next page";
            } else if (op == 6 && s.pages.PrevPage.present()) {
                Answer(m, rng() % 2);
                ASSERT_TRUE(LoadPreviousPage(s, 16));
                name = "previous page";
            } else if (op == 7) {  // a jump into another page asks first, then reloads
                Answer(m, rng() % 2);
                ASSERT_TRUE(PromptSavePage(s));
                ASSERT_TRUE(OpenDocument(s, path, rng() % pageCount));
                name = "jump";
            } else if (op == 8) {  // Close/Open: Yes saves, No drops, Cancel keeps
                const unsigned a = rng() % 3;
                if (!s.Modified) {
                    EXPECT_EQ(PromptSaveFile(s), 0);
                } else if (a == 2) {
                    ui.answers.push_back(BoxAnswer::Cancel);
                    EXPECT_EQ(PromptSaveFile(s), -1);
                } else {
                    ui.answers.push_back(a == 0 ? BoxAnswer::Yes : BoxAnswer::No);
                    EXPECT_EQ(PromptSaveFile(s), 0);
                    if (a == 0) m.disk = m.shown;
                    m.shown = m.disk;
                    ASSERT_TRUE(OpenDocument(s, path, rng() % pageCount));  // the file is opened again
                }
                name = "file question";
            } else if (op == 9) {
                s.Modified = 0;
                RevertPages(s);
                m.shown = m.disk;
                name = "revert";
            } else {
                continue;
            }
            ASSERT_TRUE(ui.answers.empty()) << name;  // every scripted answer was asked for
            CheckAgainst(m, name + " at step " + std::to_string(step));
        }
        for (const auto& box : ui.boxes) EXPECT_NE(box.title, "Error") << box.text;
        ui.boxes.clear();
    }
}

// The same model with a disk that sometimes refuses the save: nothing the user
// did not drop may ever be lost.
TEST_F(SavingModelTest, FailingSavesNeverLoseUnsavedBytes) {
    std::mt19937 rng(5);
    Open(4 * P + 9, 1);
    Model m{original, original};
    for (int step = 0; step < 300; ++step) {
        files.plan.failOpenUpdate = rng() % 3 == 0;
        const unsigned op = rng() % 6;
        if (op < 3) {
            const PageSlot slot = (s.pages.NextPage.present() && rng() % 2) ? PageSlot::Next : PageSlot::Current;
            const std::uint32_t offset = rng() % s.slotLength(slot);
            const std::uint8_t value = static_cast<std::uint8_t>(rng());
            Edit(slot, offset, value);
            m.shown[std::uint64_t{s.pages.PageIndex} * P + (slot == PageSlot::Next ? P : 0) + offset] = value;
        } else if (op == 3 || op == 4) {  // a shift answered Yes
            const bool forward = op == 3 ? s.pages.NextPage.present() : !s.pages.PrevPage.present();
            if (forward ? !s.pages.NextPage.present() : !s.pages.PrevPage.present()) continue;
            const std::uint32_t before = s.pages.PageIndex;
            const bool modified = s.Modified;
            if (modified) ui.answers.push_back(BoxAnswer::Yes);
            const bool moved = forward ? LoadNextPage(s, 0) : LoadPreviousPage(s, 16);
            if (modified && files.plan.failOpenUpdate) {
                EXPECT_FALSE(moved);
                EXPECT_EQ(s.pages.PageIndex, before);
                EXPECT_EQ(s.Modified, 1);
            } else {
                ASSERT_TRUE(moved);
                m.disk = m.shown;
            }
        } else {
            ui.answers.push_back(BoxAnswer::Yes);
            const bool modified = s.Modified;
            const int result = PromptSaveFile(s);
            if (!modified) ui.answers.clear();
            if (modified && files.plan.failOpenUpdate) {
                EXPECT_EQ(result, -1);
                EXPECT_EQ(s.Modified, 1);
            } else {
                EXPECT_EQ(result, 0);
                m.disk = m.shown;
            }
        }
        ASSERT_TRUE(ui.answers.empty());
        files.plan.failOpenUpdate = false;
        CheckAgainst(m, "step " + std::to_string(step));
    }
}

}  // namespace
}  // namespace vop
