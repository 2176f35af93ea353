// Opening, shifting, saving and jumping when the disk or the file does not
// cooperate: files refused, files that changed under the held pages, saves
// that fail half-way, changes the user dropped. The random sessions of
// editor_model_test cover the ordinary paths; these are the edges.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <tuple>

#include "files/unicode_text.h"
#include "support/session.h"

namespace vop {
namespace {

namespace fs = std::filesystem;
constexpr std::uint32_t P = PageSize;
using Bytes = std::vector<std::uint8_t>;

struct Document : test::Session {
    Bytes bytes;  // the file as it is now
    // A window of 16 bytes a row and 37 rows on a file of `size` pattern bytes, opened at `page`.
    explicit Document(std::size_t size, std::uint32_t page = 0) : Session({300, 600}) { open(size, page); }
    void open(std::size_t size, std::uint32_t page = 0) {
        bytes = test::PatternBytes(size, static_cast<std::uint32_t>(size));
        ASSERT_EQ(Session::open(bytes, page), LoadOutcome::Loaded);
    }
    // The held pages are `shown` at their place, as many as the file has; no file stays open.
    void check(const Bytes& shown) {
        const PageWindow& w = s.pages;
        const PageBuffer* held[] = {&w.PrevPage, &w.CurrentPage, &w.NextPage};
        for (std::uint64_t k = 0, start = (w.PageIndex - 1ull) * P; k < 3; ++k, start += P) {
            const std::uint64_t n = held[k]->Length;
            ASSERT_TRUE(held[k]->present() == (n > 0) && (n == 0 || start + n <= shown.size())) << k;
            EXPECT_TRUE(n == 0 || std::memcmp(held[k]->Bytes.get(), &shown[start], n) == 0) << k;
        }
        EXPECT_EQ(files.openFiles, 0);
    }
};

// A refused open never re-points or drops the held document (later loads
// still read the held file); paths are refused, never cut, their length
// counted in UTF-16 units as Windows counts. A file over 2 GiB (measured in
// 64 bits: even one whose size wraps to a small number in 32), of unknown
// size or empty closes the held document. Exactly 2 GiB, and a path of
// exactly the limit, open.
TEST(Opening, RefusedFilesAndPaths) {
    Document d(3 * P, 1);
    const std::string missing = d.dir.file("missing"), tooLong = d.dir.path() + "/" + std::string(MaxPathLength, 'x');
    const std::string small = d.dir.write("small", test::PatternBytes(100, 9)), withZero = small + '\0' + "tail";
    const std::string tooLarge = "This version cannot edit files greater than 2 gigabytes. File closed.";
    const struct { std::string path; std::uint32_t page; std::string box; bool failSize = false; } cases[] = {
        {missing, 0, "Error opening file: " + missing}, {tooLong, 0, "Error opening file: " + tooLong},
        {withZero, 0, "Error opening file: " + withZero}, {small, 3, ""},  // a page beyond the end: nothing loaded
        {d.dir.sparse("empty", 0), 0, "Size of opened file equals 0. File closed!"},
        {d.dir.sparse("over", 0x80000001ull), 0, tooLarge}, {d.dir.sparse("wraps", 0x10000000Aull), 0, tooLarge},
        {small, 0, tooLarge, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        d.files.plan.failSize = false;
        d.open(3 * P, 1);
        d.files.plan.failSize = c.failSize;
        EXPECT_NE(OpenDocument(d.s, c.path, c.page), LoadOutcome::Loaded);
        EXPECT_EQ(d.ui.lastBoxText(), c.box);
        if (c.box.empty() || c.box.rfind("Error opening file: ", 0) == 0) {
            EXPECT_TRUE(d.s.pages.DocumentPath == d.path && d.ui.title == d.path && d.s.pages.PageIndex == 1);
            d.check(d.bytes);
            EXPECT_TRUE(LoadNextPage(d.s, 0) && d.files.pathsAsked.back() == d.path);
        } else {
            EXPECT_TRUE(!d.s.documentOpen() && d.s.pages.FileSize == 0 && d.ui.title == "Vop" && !d.ui.caretVisible());
        }
    }
    d.files.plan.failSize = false;
    // A path of exactly the limit reaches the disk, one a character longer does
    // not: each Ω is two bytes but one UTF-16 unit.
    std::string exact = d.dir.path() + "/";
    while (Utf16Length(exact) < MaxPathLength) exact += exact.size() % 3 ? "f" : "\xCE\xA9";
    for (const std::string& path : {exact, exact + "x"}) {
        OpenDocument(d.s, path, 0);
        EXPECT_EQ(d.files.pathsAsked.back() == path, path == exact);
    }
}

// Shifts when another program changed the file since the pages were read
// (newSize; Deleted): a shift that no longer finds the held pages stops with
// its own message ("Error reading file!" forward, "Error opening file!" back)
// and changes nothing; one that does goes on with the file's new size.
TEST(Shifts, FollowTheFileOrRefuseWithAMessage) {
    constexpr std::int64_t Deleted = -1;
    const char *const Forward = "Error reading file!", *const Back = "Error opening file!";
    const struct { std::size_t size; std::uint32_t page; bool forward; std::int64_t newSize; bool failSize; const char* error;
                   std::uint32_t pageAfter, fileSize; } cases[] = {
        {3 * P, 0, true, 5 * P + 7, false, nullptr, 1, 5 * P + 7},  // grew
        {4 * P, 2, false, 6 * P, false, nullptr, 1, 6 * P},          // grew, seen going back
        {P + 100, 0, true, 4 * P, false, nullptr, 1, P + 100},       // grew, but not past a short page
        {3 * P, 0, true, 2 * P, true, nullptr, 1, 2 * P},            // an empty next page ends it
        {3 * P, 0, true, P, false, Forward, 0, 3 * P},               // ends where page 1 began
        {4 * P, 2, false, P, false, Back, 2, 4 * P},                 // ends exactly where page 1 begins
        {4 * P, 3, false, P + 10, true, Back, 3, 4 * P},             // seen by a short read
        {3 * P, 1, true, Deleted, false, Forward, 1, 3 * P},
        {3 * P, 1, false, Deleted, false, Back, 1, 3 * P},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << " bytes at page " << c.page << " now " << c.newSize);
        Document d(c.size, c.page);
        d.files.plan.failSize = c.failSize;
        c.newSize == Deleted ? fs::rename(d.path, d.path + ".gone") : fs::resize_file(d.path, static_cast<std::uint64_t>(c.newSize));
        EXPECT_EQ(c.forward ? LoadNextPage(d.s, 32) : LoadPreviousPage(d.s, 1), c.error == nullptr);
        EXPECT_EQ(std::make_tuple(d.ui.lastBoxText(), d.s.pages.PageIndex, d.s.pages.FileSize),
                  std::make_tuple(std::string(c.error ? c.error : ""), c.pageAfter, c.fileSize));
        if (!c.error && c.newSize >= 0) d.bytes.resize(static_cast<std::size_t>(c.newSize));
        d.check(d.bytes);
    }
}

// A change the user dropped is gone from the pages and the screen at once,
// even when the jump it was dropped for cannot happen (its page is gone).
// When the file cannot be read back whole (it shrank under the pages, or
// vanished), the change stays exactly as it was, still marked modified: it
// never passes for the file's own bytes, so no later save writes it unasked.
// A jump into a page that shrank says so and leaves the caret on a byte.
TEST(Saving, DroppedChangesLeaveNothingBehind) {
    const struct { std::int64_t newSize; std::uint32_t target; const char* message; bool dropped; } cases[] = {
        {2 * P + 5, 3 * P + 5, "Specified address is greater than filesize!", true},  // pages 0 and 1 still whole
        {P + 5, 3 * P + 5, "Error reading file!", false},                            // page 1 cut short
        {-1, 3 * P + 5, "Error opening file!", false},                               // the file vanished
        {3 * P + 100, 3 * P + 500, "Specified address is greater than filesize!", true},  // lands at 3 P
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Document d(4 * P);
        DataWindowChar(d.s, 'Z', false);  // byte 0, now on the screen
        c.newSize < 0 ? fs::rename(d.path, d.path + ".away") : fs::resize_file(d.path, static_cast<std::uint64_t>(c.newSize));
        d.ui.answers = {BoxAnswer::No};
        EXPECT_FALSE(GotoAddress(d.s, c.target, BoxOwner::ActiveDialog));
        EXPECT_EQ(d.ui.lastBoxText(), c.message);
        d.ui.paint(d.s);
        const std::uint32_t top = c.target > 3 * P + 100 ? 3 * P : 0;
        EXPECT_EQ(CaretAddress(d.s), top ? top : 1);  // on the reloaded page's first byte, or after the typed one
        const std::uint8_t held = c.dropped ? d.bytes[top] : 'Z';
        EXPECT_TRUE(d.s.pages.CurrentPage.Bytes[0] == held && d.s.Modified == !c.dropped);
        EXPECT_EQ(d.ui.screen.at(10), held) << "the screen shows another byte than the page";
        if (c.newSize < 0) fs::rename(d.path + ".away", d.path);
        if (!c.dropped) d.ui.answers = {BoxAnswer::No};
        RunMenuCommand(d.s, IDM_FILE_CLOSE);  // the changes that stayed are asked about once more
        EXPECT_TRUE(d.ui.answers.empty() && !d.s.documentOpen() && test::ReadWholeFile(d.path)[0] == d.bytes[0]);
    }
}

// A disk that fails half-way: the failure's own message, Modified and the
// held bytes kept, Close stopped; once the disk is sound the next save writes
// all. pagesWritten: how many of the two edited pages reached the file anyway.
// (A file that cannot be opened for writing is in editor_model_test's runs.)
TEST(Saving, FailedSavesAreReportedAndLoseNothing) {
    enum Fault { SeekFails, FirstWriteFails, SecondWriteFails, FlushLost };
    const struct { Fault fault; const char* message; std::uint32_t pagesWritten; } cases[] = {
        {SeekFails, "Error seeking in file!", 0}, {FirstWriteFails, "Error writing file!", 0},
        {SecondWriteFails, "Error writing file!", 1}, {FlushLost, "Error writing file!", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        Document d(3 * P);
        Bytes shown = d.bytes;
        shown[200] = d.s.pages.CurrentPage.Bytes[200] = 0x66;
        shown[P + 200] = d.s.pages.NextPage.Bytes[200] = 0x77;
        d.s.Modified = 1;
        d.files.plan = {false, c.fault == FirstWriteFails ? 1 : c.fault == SecondWriteFails ? 2 : 0, 150, SIZE_MAX,
                        c.fault == FlushLost, c.fault == SeekFails};
        d.ui.answers = {BoxAnswer::Yes};
        RunMenuCommand(d.s, IDM_FILE_CLOSE);
        EXPECT_TRUE(d.ui.lastBoxText() == c.message && d.s.documentOpen() && d.s.Modified);
        Bytes disk(shown.begin(), shown.begin() + c.pagesWritten * P);
        disk.insert(disk.end(), d.bytes.begin() + c.pagesWritten * P, d.bytes.end());
        EXPECT_TRUE(test::ReadWholeFile(d.path) == disk);
        d.check(shown);
        d.files.plan = {};
        RunMenuCommand(d.s, IDM_FILE_SAVE);
        EXPECT_TRUE(test::ReadWholeFile(d.path) == shown && !d.s.Modified);
    }
}

}  // namespace
}  // namespace vop
