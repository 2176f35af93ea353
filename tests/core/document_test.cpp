// Shifting and jumping when the file does not cooperate: files that changed
// under the held pages, changes the user dropped. The random
// sessions of editor_model_test cover the ordinary paths; these are the edges.
#include <gtest/gtest.h>

#include <filesystem>

#include "document/saving.h"
#include "support/session.h"

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
// changes nothing; one that does goes on with the file's new size. A
// replace-all run's shift, which measures the size only when its read falls
// short, refuses a file cut short all the same.
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
        bool moved = c.forward ? ShiftPagesForward(d.s, c.check) : ShiftPagesBack(d.s);
        EXPECT_EQ(moved, c.error.empty());
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
        DataWindowChar(d.s, 'Z', false);  // byte 0, on the screen
        d.changeFile(c.newSize);
        d.ui.answers = {BoxAnswer::No};
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
        if (!c.dropped) d.ui.answers = {BoxAnswer::No};
        RunMenuCommand(d.s, IDM_FILE_CLOSE);
        EXPECT_TRUE(d.ui.answers.empty());
        EXPECT_EQ(test::ReadWholeFile(d.path)[0], d.bytes[0]);
    }
}

}  // namespace
}  // namespace vop
