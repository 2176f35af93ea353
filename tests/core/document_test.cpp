// Shifting, saving and jumping when the disk or the file does not cooperate:
// files that changed under the held pages, saves that fail part-way, changes
// the user dropped. The random sessions of editor_model_test cover the
// ordinary paths; these are the edges.
#include <gtest/gtest.h>

#include <filesystem>

#include "document/saving.h"
#include "support/session.h"
#include "view/status_text.h"

namespace vop {
namespace {

using namespace std;


namespace fs = filesystem;
using test::Bytes;
constexpr uint32_t P = PageSize;
constexpr int64_t Deleted = -1;

struct Document : test::Session {
    Bytes bytes;  // the file as it is now

    // 16 bytes a row, 37 rows, on a file of `size` pattern bytes opened at `page`.
    explicit Document(size_t size, uint32_t page = 0) : Session({300, 600}) {
        bytes = test::PatternBytes(size, uint32_t(size));
        EXPECT_EQ(open(bytes, page), LoadOutcome::Loaded);
    }
    void changeFile(int64_t newSize) {
        if (newSize == Deleted) fs::rename(path, path + ".gone");
        if (newSize != Deleted) fs::resize_file(path, uint64_t(newSize));
    }
    // The held pages as they stand in `shown`; no file left open.
    void expectHeld(const Bytes& shown) {
        PageWindow& w = s.pages;
        PageBuffer* held[] = {&w.PrevPage, &w.CurrentPage, &w.NextPage};
        for (size_t k = 0; k < 3; ++k) {
            size_t start = (w.PageIndex + k - 1) * size_t{P};
            size_t length = start < shown.size() ? min<size_t>(P, shown.size() - start) : 0;
            Bytes want(shown.begin() + min(start, shown.size()), shown.begin() + min(start, shown.size()) + length);
            EXPECT_EQ(Bytes(held[k]->Bytes.get(), held[k]->Bytes.get() + held[k]->Length), want) << "page " << k;
        }
        EXPECT_EQ(files.openFiles, 0);
    }
};

// Shifts when another program changed the file since the pages were read: a
// shift that no longer finds the held pages stops with its own message and
// changes nothing; one that does goes on with the file's new size, which the
// status bar and the scroll bar then show. A replace-all run's shift, which
// measures the size only when its read falls short, refuses a file cut short
// all the same.
TEST(Shifts, FollowTheFileOrRefuseWithAMessage) {
    string Forward = "Error reading file!";
    string Back = "Error opening file!";
    struct {
        size_t size;
        uint32_t page;
        bool forward;
        int64_t newSize;
        uint32_t pageAfter, fileSize;
        string error = "";
        bool failSize = false;
        SizeCheck check = SizeCheck::EveryShift;
    } cases[] = {
        {3 * P, 0, true, 5 * P + 7, 1, 5 * P + 7},        // grew
        {4 * P, 2, false, 6 * P, 1, 6 * P},                // grew, seen going back
        {P + 100, 0, true, 4 * P, 1, P + 100},             // grew, but not past a short page
        {3 * P, 0, true, 2 * P, 1, 2 * P, "", true},       // an empty next page ends it
        {3 * P, 0, true, P, 0, 3 * P, Forward},            // ends where page 1 began
        {3 * P, 0, true, P, 0, 3 * P, Forward, false, SizeCheck::WhenReadShort},  // seen by replace-all
        {4 * P, 2, false, P, 2, 4 * P, Back},              // ends where page 1 begins
        {4 * P, 3, false, P + 10, 3, 4 * P, Back, true},   // seen by a short read
        {3 * P, 1, true, Deleted, 1, 3 * P, Forward},
        {3 * P, 1, false, Deleted, 1, 3 * P, Back},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << " bytes at page " << c.page << " now " << c.newSize);
        Document d(c.size, c.page);
        d.files.plan.failSize = c.failSize;
        d.changeFile(c.newSize);
        bool moved = c.check == SizeCheck::WhenReadShort ? ShiftPagesForward(d.s, c.check)
                     : c.forward                          ? LoadNextPage(d.s, 0)
                                                          : LoadPreviousPage(d.s, 1);
        EXPECT_EQ(moved, c.error.empty());
        EXPECT_EQ(d.ui.statusText[1], FileSizeText(c.fileSize));
        EXPECT_EQ(d.ui.scrollMax, int((c.fileSize + 15) / 16) - 37);
        EXPECT_EQ(d.ui.lastBoxText(), c.error);
        EXPECT_EQ(d.s.pages.PageIndex, c.pageAfter);
        EXPECT_EQ(d.s.pages.FileSize, c.fileSize);
        if (moved) d.bytes.resize(c.fileSize);
        d.expectHeld(d.bytes);
    }
}

// A change the user dropped is gone from the pages and the screen at once,
// even when the jump it was dropped for cannot happen. When the file cannot
// be read back whole, the change stays, still marked modified: it never
// passes for the file's own bytes, so no later save writes it unasked.
TEST(Saving, DroppedChangesLeaveNothingBehind) {
    struct {
        int64_t newSize;
        uint32_t target;
        string message;
        bool dropped;
    } cases[] = {
        {2 * P + 5, 3 * P + 5, "Specified address is greater than filesize!", true},  // pages 0 and 1 whole
        {P + 5, 3 * P + 5, "Error reading file!", false},                            // page 1 cut short
        {Deleted, 3 * P + 5, "Error opening file!", false},
        {3 * P + 100, 3 * P + 500, "Specified address is greater than filesize!", true},  // lands at 3 P
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.message);
        Document d(4 * P);
        DataWindowChar(d.s, 'Z', {});  // byte 0, on the screen
        d.changeFile(c.newSize);
        d.ui.reply("Part of the file was modified. Save changes?", BoxAnswer::No);
        EXPECT_FALSE(GotoAddress(d.s, c.target, BoxOwner::ActiveDialog));
        EXPECT_EQ(d.ui.lastBoxText(), c.message);
        d.ui.paint(d.s);
        // On the reloaded page's first byte, or after the typed one.
        uint32_t top = c.target > 3 * P + 100 ? 3 * P : 0;
        EXPECT_EQ(CaretAddress(d.s), top ? top : 1);
        uint8_t held = c.dropped ? d.bytes[top] : 'Z';
        EXPECT_EQ(d.s.pages.CurrentPage.Bytes[0], held);
        EXPECT_EQ(d.s.Modified, c.dropped ? 0 : 1);
        EXPECT_EQ(d.ui.screen.at(10), held) << "the screen shows another byte than the page";
        if (c.newSize == Deleted) fs::rename(d.path + ".gone", d.path);
        // The changes that stayed are asked about once more.
        if (!c.dropped) d.ui.reply("File has been modified. Save changes?", BoxAnswer::No);
        RunMenuCommand(d.s, IDM_FILE_CLOSE);
        EXPECT_TRUE(d.ui.replies.empty());
        EXPECT_EQ(test::ReadWholeFile(d.path)[0], d.bytes[0]);
    }
}

// No to the question of File/Open, then no file picked: the document stays,
// its pages the file's bytes again, also when the file gives them back a
// thousand bytes a read.
TEST(Saving, ChangesDroppedAreReadBackInPieces) {
    Document d(3 * P);
    DataWindowChar(d.s, 'Z', {});
    d.files.plan.readsAtMost = 1000;
    d.ui.reply("File has been modified. Save changes?", BoxAnswer::No);
    RunMenuCommand(d.s, IDM_FILE_OPEN);
    d.expectHeld(d.bytes);
    EXPECT_EQ(d.s.Modified, 0);
}

// A disk that fails part-way through a save that Close asked for: the
// failure's own message, Modified and the held bytes kept, Close stopped;
// once the disk is sound the next save writes all. A flush or close that
// fails may have lost what was written: it is a failed save all the same.
// Pages written: how many of the two edited pages reached the file.
TEST(Saving, FailedSavesAreReportedAndLoseNothing) {
    struct {
        int seek, write, flush;
        bool close;
        string message;
        size_t pagesWritten;
    } cases[] = {
        {1, 0, 0, false, "Error seeking in file!", 0},
        {2, 0, 0, false, "Error seeking in file!", 1},
        {0, 1, 0, false, "Error writing file!", 0},
        {0, 2, 0, false, "Error writing file!", 1},
        {0, 0, 1, false, "Error writing file!", 2},
        {0, 0, 0, true, "Error writing file!", 2},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.message << " " << c.seek << c.write << c.flush);
        Document d(3 * P);
        Bytes shown = d.bytes;
        shown[200] = d.s.pages.CurrentPage.Bytes[200] = 0x66;
        shown[P + 200] = d.s.pages.NextPage.Bytes[200] = 0x77;
        d.s.Modified = 1;
        d.s.pages.CurrentPage.Changed = d.s.pages.NextPage.Changed = true;
        d.files.plan.failSeekNumber = c.seek ? d.files.seeks + c.seek : 0;
        d.files.plan.failWriteNumber = c.write;
        d.files.plan.partialWriteBytes = 150;
        d.files.plan.failFlushNumber = c.flush;
        d.files.plan.failClose = c.close;
        d.ui.reply("File has been modified. Save changes?", BoxAnswer::Yes);
        RunMenuCommand(d.s, IDM_FILE_CLOSE);
        EXPECT_EQ(d.ui.lastBoxText(), c.message);
        EXPECT_TRUE(d.s.documentOpen());
        EXPECT_EQ(d.s.Modified, 1);
        Bytes disk(shown.begin(), shown.begin() + c.pagesWritten * P);
        disk.insert(disk.end(), d.bytes.begin() + c.pagesWritten * P, d.bytes.end());
        EXPECT_EQ(test::ReadWholeFile(d.path), disk);
        d.expectHeld(shown);
        d.files.plan = {};
        RunMenuCommand(d.s, IDM_FILE_SAVE);
        EXPECT_EQ(test::ReadWholeFile(d.path), shown);
        EXPECT_EQ(d.s.Modified, 0);
    }
}

// Another program wrote into both held pages after they were read. A save
// writes the pages the user changed, each once, and no other: the other
// program's bytes stay wherever the user changed nothing.
TEST(Saving, WritesOnlyThePagesTheUserChanged) {
    for (int changed = 0; changed < 4; ++changed) {
        SCOPED_TRACE(changed);
        Document d(3 * P);
        Bytes disk = d.bytes;
        disk[300] ^= 0xFF;  // another program's bytes, in both held pages
        disk[P + 300] ^= 0xFF;
        d.dir.write("doc", disk);
        PageBuffer* pages[] = {&d.s.pages.CurrentPage, &d.s.pages.NextPage};
        vector<uint64_t> written;
        for (uint32_t k = 0; k < 2; ++k) {
            if ((changed >> k & 1) == 0) continue;
            pages[k]->Bytes[200] ^= 0xFF;
            pages[k]->Changed = true;
            d.s.Modified = 1;
            copy(pages[k]->Bytes.get(), pages[k]->Bytes.get() + P, disk.begin() + k * P);
            written.push_back(k * P);
        }
        RunMenuCommand(d.s, IDM_FILE_SAVE);
        EXPECT_EQ(test::ReadWholeFile(d.path), disk);
        EXPECT_EQ(d.files.writtenAt, written);
        EXPECT_EQ(d.s.Modified, 0);
    }
}

// Another program cut the file inside the current page, and only the next
// page holds changes: a save of the next page alone would leave zeros in the
// gap where the screen shows the current page's bytes. Every held page the
// file no longer holds whole is written too.
TEST(Saving, PagesTheFileNoLongerHoldsAreWrittenToo) {
    Document d(3 * P);
    d.s.pages.NextPage.Bytes[5] ^= 0xFF;
    d.s.pages.NextPage.Changed = true;
    d.s.Modified = 1;
    filesystem::resize_file(d.path, P / 2);
    RunMenuCommand(d.s, IDM_FILE_SAVE);
    Bytes shown(d.bytes.begin(), d.bytes.begin() + 2 * P);
    shown[P + 5] ^= 0xFF;
    EXPECT_EQ(test::ReadWholeFile(d.path), shown);
    EXPECT_EQ(d.s.Modified, 0);
}

}  // namespace
}  // namespace vop
