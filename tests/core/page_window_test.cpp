// The paged file window: opening at a page, shifting one page either way,
// closing, and what happens when the file changes or vanishes between them.
#include "view/document_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>
#include <tuple>

#include "document/line_index.h"
#include "support/fake_ui.h"
#include "support/faulty_files.h"
#include "support/temp_files.h"

namespace vop {
namespace {

namespace fs = std::filesystem;
constexpr std::uint32_t P = PageSize;
constexpr const char* TooLarge = "This version cannot edit files greater than 2 gigabytes. File closed.";

class PageWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui.client = {300, 600};  // 16 bytes per row at FontCell 0, 37 rows
        s.ui = &ui;
        s.files = &files;
    }

    bool Open(std::size_t size, std::uint32_t page = 0) {
        bytes = test::PatternBytes(size, static_cast<std::uint32_t>(size));
        path = dir.write("f", bytes);
        const bool opened = OpenDocument(s, path, page) == LoadOutcome::Loaded;
        ui.boxes.clear();
        return opened;
    }

    // What every operation must leave behind: held pages that are the file's
    // bytes at their place, as many as the file has (two at most from the
    // current one on), whole before the last, and a caret on a held byte whose
    // cell and origin agree. No file stays open.
    void CheckWindow() {
        const PageWindow& w = s.pages;
        ASSERT_TRUE(s.documentOpen());
        const PageBuffer* held[] = {&w.PrevPage, &w.CurrentPage, &w.NextPage};
        for (std::uint64_t k = 0; k < 3; ++k) {
            const std::uint64_t start = (w.PageIndex + k - 1) * P, n = held[k]->Length;
            ASSERT_TRUE(held[k]->present() ? n >= 1 && n <= P && start + n <= bytes.size() : n == 0) << k;
            EXPECT_TRUE(n == 0 || std::memcmp(held[k]->Bytes.get(), &bytes[start], n) == 0) << k;
        }
        EXPECT_EQ(w.PrevPage.present(), w.PageIndex > 0);
        EXPECT_TRUE(w.PrevPage.Length % P == 0 && (!w.NextPage.present() || w.CurrentPage.Length == P));
        EXPECT_LE(w.FileSize, MaxFileSize);
        EXPECT_EQ(w.CurrentPage.Length + w.NextPage.Length, std::min(2 * P, w.FileSize - w.PageIndex * P));
        EXPECT_EQ(s.ScreenPage, PageSlot::Current);
        EXPECT_TRUE(s.TopOffset >= 0 && s.TopOffset < std::int64_t{w.CurrentPage.Length} && s.TopOffset % 16 == 0);
        ASSERT_NE(s.CaretPage, PageSlot::None);
        EXPECT_TRUE(s.CaretOffset >= 0 && s.CaretOffset < std::int64_t{s.slotLength(s.CaretPage)}) << s.CaretOffset;
        const int fromTop = s.CaretOffset + (s.CaretPage == PageSlot::Next ? int{P} : 0) - s.TopOffset;
        EXPECT_EQ(fromTop, s.grid.caretRow * 16 + s.grid.caretColumn);
        EXPECT_EQ(s.CaretX, (s.grid.caretColumn + 10) * 8);
        EXPECT_EQ(s.CaretY, s.grid.caretRow * 16);
        EXPECT_EQ(files.openFiles, 0);
    }

    // The view position in one value: page, top, caret slot and offset, caret cell.
    using View = std::tuple<std::uint32_t, std::int32_t, PageSlot, std::int32_t, int, int>;
    View ViewNow() const {
        return {s.pages.PageIndex, s.TopOffset, s.CaretPage, s.CaretOffset, s.grid.caretRow, s.grid.caretColumn};
    }

    test::TempDir dir;
    test::FakeUi ui;
    test::FaultyFileSystem files;
    EditorState s;
    std::vector<std::uint8_t> bytes;
    std::string path;
};

// Page borders: a page cut anywhere but at 64 KiB, or a missing neighbour,
// shows as held bytes that differ from the file's.
TEST_F(PageWindowTest, OpeningHoldsThePagesAroundTheRequestedOne) {
    const std::pair<std::uint32_t, std::uint32_t> cases[] = {
        {1, 0}, {P, 0}, {P + 1, 0}, {10 * P, 5}, {3 * P + 17, 2}, {3 * P + 17, 3}};  // size, page
    for (const auto& [size, page] : cases) {
        SCOPED_TRACE(testing::Message() << size << " bytes at page " << page);
        ASSERT_TRUE(Open(size, page));
        EXPECT_EQ(ViewNow(), View(page, 0, PageSlot::Current, 0, 0, 0));
        EXPECT_EQ(s.pages.FileSize, size);
        CheckWindow();
    }
}

// A new document resets Modified, reaches title, status bar, caret and menus,
// and in the text view gets an index of its own file (never of the one held
// before) unless it is over the view's limit; closing takes it all back.
TEST_F(PageWindowTest, OpeningAndClosingShowTheDocumentAndItsAbsence) {
    s.Modified = 1;
    ASSERT_TRUE(Open(3000));
    EXPECT_EQ(s.Modified, 0);
    EXPECT_TRUE(ui.title == path && ui.searchEnabled && ui.caretVisible() && ui.statusTwoParts);
    EXPECT_EQ(ui.statusText[0], "00000000h");
    EXPECT_EQ(ui.statusText[1], "filesize = 00000BB8h (3000)");
    EXPECT_EQ(std::make_pair(ui.caretX, ui.caretY), std::make_pair(81, 14));  // underline caret at FontCell 0
    s.TextViewOn = 1;
    ASSERT_TRUE(OpenDocument(s, dir.write("other", {'a', '\n', 'b'}), 0) == LoadOutcome::Loaded && OpenDocument(s, path, 0) == LoadOutcome::Loaded);
    EXPECT_EQ(s.lines.LineCount, 1 + std::count(bytes.begin(), bytes.end(), '\n'));
    ASSERT_EQ(OpenDocument(s, dir.sparse("at-limit", TextViewLimit), 0), LoadOutcome::Loaded);
    EXPECT_TRUE(s.TextViewOn && s.lines.built());
    ASSERT_EQ(OpenDocument(s, dir.sparse("over-limit", TextViewLimit + 1ull), 0), LoadOutcome::Loaded);
    EXPECT_FALSE(s.TextViewOn || s.lines.built());
    CloseDocument(s);
    EXPECT_FALSE(s.documentOpen() || s.pages.NextPage.present() || ui.searchEnabled || ui.caretVisible());
    EXPECT_TRUE(s.pages.FileSize == 0 && s.CaretPage == PageSlot::None && s.ScreenPage == PageSlot::None);
    EXPECT_TRUE(s.pages.DocumentPath == "Vop" && ui.title == "Vop" && !ui.statusTwoParts && s.grid.empty());
}

// Refused opens. A failed one must never re-point or drop the held document
// (later loads still read the held file); paths are refused, never cut. A file
// over 2 GiB (measured in 64 bits: even one whose size wraps to a small number
// in 32), of unknown size or empty closes the held document. Exactly 2 GiB, and
// a path of exactly the limit, open.
TEST_F(PageWindowTest, RefusedOpens) {
    const std::string missing = dir.file("missing"), tooLong = dir.path() + "/" + std::string(MaxPathLength, 'x');
    const std::string small = dir.write("small", test::PatternBytes(100, 9)), withZero = small + '\0' + "tail";
    const std::string opening = "Error opening file: ";
    const struct { std::string path; std::uint32_t page; std::string box; bool failSize = false; } cases[] = {
        {missing, 0, opening + missing}, {tooLong, 0, opening + tooLong}, {withZero, 0, opening + withZero},
        {small, 3, ""},  // a page beyond the end: nothing loaded
        {dir.sparse("empty", 0), 0, "Size of opened file equals 0. File closed!"},
        {dir.sparse("over", 0x80000001ull), 0, TooLarge}, {dir.sparse("wraps", 0x10000000Aull), 0, TooLarge},
        {small, 0, TooLarge, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        files.plan.failSize = false;
        ASSERT_TRUE(Open(3 * P, 1));
        files.plan.failSize = c.failSize;
        EXPECT_NE(OpenDocument(s, c.path, c.page), LoadOutcome::Loaded);
        EXPECT_EQ(ui.lastBoxText(), c.box);
        EXPECT_TRUE(c.box.empty() || (!ui.boxes.empty() && ui.boxes.back().title == "Error"));
        if (c.box.empty() || c.box.rfind(opening, 0) == 0) {
            EXPECT_TRUE(s.pages.DocumentPath == path && ui.title == path && s.pages.PageIndex == 1);
            CheckWindow();
            ASSERT_TRUE(LoadNextPage(s, 0));
            EXPECT_EQ(files.openedPaths.back(), path);
        } else {
            EXPECT_FALSE(s.documentOpen() || s.pages.FileSize);
            EXPECT_TRUE(s.pages.DocumentPath == "Vop" && ui.title == "Vop");
        }
    }
    files.plan.failSize = false;
    ASSERT_EQ(OpenDocument(s, dir.sparse("two-gib", 0x80000000ull), 32767), LoadOutcome::Loaded);
    EXPECT_EQ(ui.statusText[1], "filesize = 80000000h (2147483648)");
    EXPECT_TRUE(s.pages.FileSize == 0x80000000u && s.pages.CurrentPage.Length == P && !s.pages.NextPage.present());
    std::string name;  // folders, then a file name that brings the path to exactly the limit
    while (dir.file(name).size() + 101 < MaxPathLength)
        fs::create_directory(dir.file(name += std::string(100, 'd') + "/"));
    const std::string exact = dir.write(name + std::string(MaxPathLength - dir.file(name).size(), 'f'), {7});
    EXPECT_TRUE(exact.size() == MaxPathLength && OpenDocument(s, exact, 0) == LoadOutcome::Loaded);
}

// Shifts put the top on a row of the new current page; the caret keeps its
// screen cell, or moves back onto the last held byte when that cell holds none.
// When another program changed the file in between (newSize; -1: deleted), a
// shift that no longer finds the held pages stops with its message and changes
// nothing; one that does goes on with the file's new size.
TEST_F(PageWindowTest, ShiftsPlaceTheViewAndFollowTheFile) {
    constexpr std::int64_t Same = -2, Deleted = -1;
    constexpr PageSlot C = PageSlot::Current, N = PageSlot::Next;
    const char* const ReadError = "Error reading file!";
    const struct {
        std::size_t size; std::uint32_t page; int row, column; bool forward; std::int32_t arg;
        std::int64_t newSize; bool failSize; const char* error; std::uint32_t fileSize; View after;
    } cases[] = {
        {P + 20, 0, 3, 4, true, 0, Same, false, nullptr, P + 20, {1, 0, C, 19, 1, 3}},  // past a short last page
        {2 * P + 30, 0, 10, 15, true, P - 16, Same, false, nullptr, 2 * P + 30, {1, P - 16, N, 29, 2, 13}},
        {4 * P, 0, 36, 5, true, P - 153, Same, false, nullptr, 4 * P, {1, P - 160, N, 421, 36, 5}},
        {3 * P, 1, 0, 0, false, 1, Same, false, nullptr, 3 * P, {0, 65520, C, 65520, 0, 0}},
        {3 * P, 1, 0, 0, false, P, Same, false, nullptr, 3 * P, {0, 0, C, 0, 0, 0}},
        {3 * P, 0, 0, 0, true, 1, 5 * P + 7, false, nullptr, 5 * P + 7, {1, 0, C, 0, 0, 0}},
        {P + 100, 0, 0, 0, true, 0, 4 * P, false, nullptr, P + 100, {1, 0, C, 0, 0, 0}},  // not past a short page
        {P + 100, 1, 0, 0, false, 1, 4 * P, false, nullptr, P + 100, {0, 65520, C, 65520, 0, 0}},
        {3 * P, 0, 0, 0, true, 0, 2 * P, true, nullptr, 2 * P, {1, 0, C, 0, 0, 0}},  // an empty next page ends it
        {3 * P, 0, 0, 0, true, 32, P, false, ReadError, 3 * P, {0, 0, C, 0, 0, 0}},  // ends where page 1 began
        {4 * P, 2, 0, 0, false, 1, 1000, false, "Error opening file!", 4 * P, {2, 0, C, 0, 0, 0}},
        {4 * P, 3, 0, 0, false, 1, P + 10, true, "Error opening file!", 4 * P, {3, 0, C, 0, 0, 0}},  // seen by a short read
        {3 * P, 1, 0, 0, true, 32, Deleted, false, ReadError, 3 * P, {1, 0, C, 0, 0, 0}},
        {3 * P, 1, 0, 0, false, 1, Deleted, false, "Error opening file!", 3 * P, {1, 0, C, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << " bytes at page " << c.page << " now " << c.newSize);
        files.plan.failSize = false;
        ASSERT_TRUE(Open(c.size, c.page));
        files.plan.failSize = c.failSize;
        if (c.newSize == Deleted) fs::remove(path);
        if (c.newSize >= 0) fs::resize_file(path, static_cast<std::uint64_t>(c.newSize));
        s.grid.caretRow = c.row;
        s.grid.caretColumn = c.column;
        EXPECT_EQ(c.forward ? LoadNextPage(s, c.arg) : LoadPreviousPage(s, c.arg), c.error == nullptr);
        EXPECT_EQ(ui.lastBoxText(), c.error ? c.error : "");
        EXPECT_EQ(ViewNow(), c.after);
        EXPECT_EQ(s.pages.FileSize, c.fileSize);
        if (!c.error && c.newSize >= 0) bytes.resize(static_cast<std::size_t>(c.newSize));
        CheckWindow();
    }
}

// Random shifts on several file sizes, checked against the file after every step.
TEST_F(PageWindowTest, RandomShiftsAlwaysHoldTheFilesPagesAndACaretOnAByte) {
    std::mt19937 rng(7);
    for (std::uint32_t size : {P + 1, 2 * P, 3 * P + 17, 5 * P - 1}) {
        ASSERT_TRUE(Open(size, static_cast<std::uint32_t>(rng() % ((size + P - 1) / P))));
        for (int step = 0; step < 300 && !HasFailure(); ++step) {
            const bool forward = rng() % 2;
            const bool can = (forward ? s.pages.NextPage : s.pages.PrevPage).present();
            const std::uint32_t before = s.pages.PageIndex;
            // A caller moves the caret's cell and then shifts; a refused shift leaves the cell alone.
            const int row = static_cast<int>(rng() % 37), column = static_cast<int>(rng() % 16);
            if (can) s.grid.caretRow = row, s.grid.caretColumn = column;
            const std::uint32_t bound = forward ? (can ? s.pages.NextPage.Length : 1) : P;
            const auto arg = static_cast<std::int32_t>(forward ? rng() % bound : 1 + rng() % bound);
            EXPECT_EQ(forward ? LoadNextPage(s, arg) : LoadPreviousPage(s, arg), can);
            EXPECT_EQ(s.pages.PageIndex, !can ? before : forward ? before + 1 : before - 1);
            EXPECT_EQ(s.pages.FileSize, size);
            CheckWindow();
        }
        EXPECT_TRUE(ui.boxes.empty());
    }
}

}  // namespace
}  // namespace vop
