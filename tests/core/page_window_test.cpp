// The paged file window: opening at a page, shifting one page either way,
// closing, and what happens when the file changes or vanishes between them.
#include "document/page_window.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>

#include "document/line_index.h"
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

class PageWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui.client = {300, 600};  // 16 bytes per row at FontCell 0, 37 rows
        s.ui = &ui;
        s.files = &files;
    }

    std::string MakeFile(const std::string& name, std::size_t size, std::uint32_t seed = 1) {
        bytes = PatternBytes(size, seed);
        return dir.write(name, bytes);
    }

    // The bytes of a held page must be the file's bytes at that page.
    void ExpectPageHolds(const PageBuffer& page, std::uint32_t pageIndex, const std::vector<std::uint8_t>& file) {
        ASSERT_TRUE(page.present());
        const std::size_t start = static_cast<std::size_t>(pageIndex) * P;
        ASSERT_LE(start + page.Length, file.size());
        EXPECT_EQ(0, std::memcmp(page.Bytes.get(), file.data() + start, page.Length)) << "page " << pageIndex;
    }

    // What every load must leave behind, whatever the file did.
    void ExpectWindowSound() {
        const PageWindow& w = s.pages;
        ASSERT_TRUE(s.documentOpen());
        for (const PageBuffer* p : {&w.PrevPage, &w.CurrentPage, &w.NextPage}) {
            if (p->present()) {
                EXPECT_GE(p->Length, 1u);
                EXPECT_LE(p->Length, P);
            } else {
                EXPECT_EQ(p->Length, 0u);
            }
        }
        EXPECT_EQ(w.PrevPage.present(), w.PageIndex > 0);
        if (w.PrevPage.present()) {
            EXPECT_EQ(w.PrevPage.Length, P);
        }
        if (w.NextPage.present()) {
            EXPECT_EQ(w.CurrentPage.Length, P);
        }
        EXPECT_LE(w.FileSize, MaxFileSize);
        const std::uint64_t held = std::uint64_t{w.PageIndex} * P + w.CurrentPage.Length + w.NextPage.Length;
        EXPECT_GE(w.FileSize, held);
        EXPECT_EQ(s.ScreenPage, PageSlot::Current);
        EXPECT_GE(s.TopOffset, 0);
        EXPECT_LT(static_cast<std::uint32_t>(s.TopOffset), w.CurrentPage.Length);
        EXPECT_EQ(s.TopOffset % 16, 0);
        ASSERT_NE(s.CaretPage, PageSlot::None);
        EXPECT_GE(s.CaretOffset, 0);
        EXPECT_LT(static_cast<std::uint32_t>(s.CaretOffset), s.slotLength(s.CaretPage));
        const std::int64_t fromTop = s.CaretOffset + (s.CaretPage == PageSlot::Next ? P : 0) - s.TopOffset;
        EXPECT_EQ(fromTop, std::int64_t{s.grid.caretRow} * 16 + s.grid.caretColumn);
        EXPECT_EQ(s.CaretX, (s.grid.caretColumn + 10) * 8);
        EXPECT_EQ(s.CaretY, s.grid.caretRow * 16);
    }

    TempDir dir;
    FakeUi ui;
    FaultyFileSystem files;
    EditorState s;
    std::vector<std::uint8_t> bytes;
};

// ---- Page borders: a file's first and last page must be cut at exactly 64 KiB ----

TEST_F(PageWindowTest, OneByteFileHoldsOneShortPage) {
    const std::string path = MakeFile("one", 1);
    ASSERT_TRUE(OpenDocument(s, path, 0));
    EXPECT_EQ(s.pages.CurrentPage.Length, 1u);
    EXPECT_FALSE(s.pages.PrevPage.present());
    EXPECT_FALSE(s.pages.NextPage.present());
    EXPECT_EQ(s.pages.FileSize, 1u);
    ExpectPageHolds(s.pages.CurrentPage, 0, bytes);
    ExpectWindowSound();
}

TEST_F(PageWindowTest, FileOfExactlyOnePageHasNoNextPage) {
    const std::string path = MakeFile("page", P);
    ASSERT_TRUE(OpenDocument(s, path, 0));
    EXPECT_EQ(s.pages.CurrentPage.Length, P);
    EXPECT_FALSE(s.pages.NextPage.present());
    EXPECT_EQ(s.pages.FileSize, P);
}

TEST_F(PageWindowTest, OneByteMoreThanAPageGivesAOneByteNextPage) {
    const std::string path = MakeFile("page1", P + 1);
    ASSERT_TRUE(OpenDocument(s, path, 0));
    ASSERT_TRUE(s.pages.NextPage.present());
    EXPECT_EQ(s.pages.NextPage.Length, 1u);
    ExpectPageHolds(s.pages.NextPage, 1, bytes);
    ExpectWindowSound();
}

TEST_F(PageWindowTest, OpeningAtPageFiveOfTenHoldsPagesFourToSix) {
    const std::string path = MakeFile("ten", 10 * P);
    ASSERT_TRUE(OpenDocument(s, path, 5));
    EXPECT_EQ(s.pages.PageIndex, 5u);
    ExpectPageHolds(s.pages.PrevPage, 4, bytes);
    ExpectPageHolds(s.pages.CurrentPage, 5, bytes);
    ExpectPageHolds(s.pages.NextPage, 6, bytes);
    EXPECT_EQ(s.TopOffset, 0);
    EXPECT_EQ(s.CaretOffset, 0);
    EXPECT_EQ(s.pages.FileSize, 10 * P);
    ExpectWindowSound();
}

TEST_F(PageWindowTest, OpeningShowsTheDocumentEverywhere) {
    const std::string path = MakeFile("shown", 3000);
    s.Modified = 1;
    ASSERT_TRUE(OpenDocument(s, path, 0));
    EXPECT_EQ(s.Modified, 0);
    EXPECT_EQ(s.pages.DocumentPath, path);
    EXPECT_EQ(ui.title, path);
    EXPECT_TRUE(ui.searchEnabled);
    EXPECT_TRUE(ui.caretShown);
    EXPECT_TRUE(ui.statusTwoParts);
    EXPECT_EQ(ui.statusText[0], "00000000h");
    EXPECT_EQ(ui.statusText[1], "filesize = 00000BB8h (3000)");
    EXPECT_EQ(ui.caretX, 81);  // underline caret at FontCell 0
    EXPECT_EQ(ui.caretY, 14);
    EXPECT_EQ(s.grid.columns, 16 + 10);
    EXPECT_GT(ui.invalidations, 0);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(PageWindowTest, EmptyFileIsRefusedAndLeavesNoDocument) {
    const std::string held = MakeFile("held", 500);
    ASSERT_TRUE(OpenDocument(s, held, 0));
    const std::string empty = dir.write("empty", {});
    EXPECT_FALSE(OpenDocument(s, empty, 0));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Size of opened file equals 0. File closed!");
    EXPECT_EQ(ui.boxes[0].title, "Error");
    EXPECT_EQ(ui.boxes[0].owner, BoxOwner::MainWindow);
    EXPECT_FALSE(s.documentOpen());
    EXPECT_EQ(ui.title, "Vop");
    EXPECT_EQ(s.pages.DocumentPath, "Vop");
    EXPECT_FALSE(ui.searchEnabled);
}

TEST_F(PageWindowTest, PageBeyondTheEndLoadsNothingAndKeepsTheHeldDocument) {
    const std::string held = MakeFile("held", 2 * P);
    ASSERT_TRUE(OpenDocument(s, held, 1));
    const std::string other = dir.write("small", PatternBytes(100, 9));
    EXPECT_FALSE(OpenDocument(s, other, 3));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(s.pages.DocumentPath, held);
    EXPECT_EQ(s.pages.PageIndex, 1u);
    ExpectPageHolds(s.pages.CurrentPage, 1, bytes);
    EXPECT_EQ(files.openFiles, 0);
}

// ---- Sizes near 2 GiB: measured in 64 bits, never wrapped ----

TEST_F(PageWindowTest, FileOfExactlyTwoGigabytesOpens) {
    const std::string path = dir.sparse("two-gib", 0x80000000ull);
    ASSERT_TRUE(OpenDocument(s, path, 0));
    EXPECT_EQ(s.pages.FileSize, 0x80000000u);
    EXPECT_EQ(ui.statusText[1], "filesize = 80000000h (2147483648)");
    ASSERT_TRUE(OpenDocument(s, path, 32767));  // the last page
    EXPECT_EQ(s.pages.CurrentPage.Length, P);
    EXPECT_FALSE(s.pages.NextPage.present());
    EXPECT_EQ(s.pages.FileSize, 0x80000000u);
    ExpectWindowSound();
}

TEST_F(PageWindowTest, OneByteOverTwoGigabytesIsRefused) {
    const std::string held = MakeFile("held", 10);
    ASSERT_TRUE(OpenDocument(s, held, 0));
    const std::string path = dir.sparse("too-big", 0x80000001ull);
    EXPECT_FALSE(OpenDocument(s, path, 0));
    EXPECT_EQ(ui.lastBoxText(), "This version cannot edit files greater than 2 gigabytes. File closed.");
    EXPECT_EQ(ui.boxes.back().title, "Error");
    EXPECT_FALSE(s.documentOpen());
    EXPECT_EQ(s.pages.FileSize, 0u);
}

TEST_F(PageWindowTest, FileWhoseSizeWrapsIn32BitsIsRefused) {
    // 4 GiB + 10 bytes would read as 10 bytes through a 32-bit size.
    const std::string path = dir.sparse("wraps", 0x10000000Aull);
    EXPECT_FALSE(OpenDocument(s, path, 0));
    EXPECT_EQ(ui.lastBoxText(), "This version cannot edit files greater than 2 gigabytes. File closed.");
    EXPECT_FALSE(s.documentOpen());
}

TEST_F(PageWindowTest, UnmeasurableFileIsRefusedLikeATooLargeOne) {
    const std::string path = MakeFile("plain", 100);
    files.plan.failSize = true;
    EXPECT_FALSE(OpenDocument(s, path, 0));
    EXPECT_EQ(ui.lastBoxText(), "This version cannot edit files greater than 2 gigabytes. File closed.");
    EXPECT_FALSE(s.documentOpen());
}

// ---- Paths: never cut, and a failed open never re-points the held document ----

TEST_F(PageWindowTest, PathLongerThanTheLimitIsRefusedAndNothingChanges) {
    const std::string held = MakeFile("held", 100);
    ASSERT_TRUE(OpenDocument(s, held, 0));
    const std::string tooLong = dir.path() + "/" + std::string(MaxPathLength, 'x');
    ASSERT_GT(tooLong.size(), MaxPathLength);
    const int opensBefore = files.readOpens;
    EXPECT_FALSE(OpenDocument(s, tooLong, 0));
    EXPECT_EQ(ui.lastBoxText(), "Error opening file: " + tooLong);
    EXPECT_EQ(files.readOpens, opensBefore);  // not even tried
    EXPECT_EQ(s.pages.DocumentPath, held);
    EXPECT_EQ(ui.title, held);
    EXPECT_TRUE(s.documentOpen());
}

TEST_F(PageWindowTest, PathOfExactlyTheLimitOpens) {
    std::string folder = dir.path();
    while (folder.size() + 1 + 200 < MaxPathLength - 20) {
        folder += "/" + std::string(100, 'd');
        std::filesystem::create_directory(folder);
    }
    const std::string path = folder + "/" + std::string(MaxPathLength - folder.size() - 1, 'f');
    ASSERT_EQ(path.size(), MaxPathLength);
    { std::vector<std::uint8_t> b(50, 7); std::FILE* f = std::fopen(path.c_str(), "wb"); ASSERT_TRUE(f); std::fwrite(b.data(), 1, b.size(), f); std::fclose(f); }
    ASSERT_TRUE(OpenDocument(s, path, 0));
    EXPECT_EQ(s.pages.DocumentPath, path);
}

TEST_F(PageWindowTest, PathWithAnEmbeddedZeroIsRefused) {
    const std::string real = MakeFile("real", 100);
    const std::string withZero = real + std::string(1, '\0') + "tail";
    EXPECT_FALSE(OpenDocument(s, withZero, 0));
    EXPECT_FALSE(s.documentOpen());
    EXPECT_EQ(ui.boxes.size(), 1u);
}

TEST_F(PageWindowTest, FailedOpenKeepsTheHeldDocumentAndItsPath) {
    const std::string held = MakeFile("held", 3 * P);
    ASSERT_TRUE(OpenDocument(s, held, 1));
    const std::string missing = dir.file("missing");
    EXPECT_FALSE(OpenDocument(s, missing, 0));
    EXPECT_EQ(ui.lastBoxText(), "Error opening file: " + missing);
    EXPECT_EQ(ui.boxes.back().title, "Error");
    EXPECT_EQ(s.pages.DocumentPath, held);
    EXPECT_EQ(ui.title, held);
    EXPECT_EQ(s.pages.PageIndex, 1u);
    ExpectPageHolds(s.pages.PrevPage, 0, bytes);
    ExpectPageHolds(s.pages.CurrentPage, 1, bytes);
    ExpectPageHolds(s.pages.NextPage, 2, bytes);
    // Later loads still reach the held file, not the one that failed.
    files.openedPaths.clear();
    ASSERT_TRUE(LoadNextPage(s, 0));
    ASSERT_EQ(files.openedPaths.size(), 1u);
    EXPECT_EQ(files.openedPaths[0], held);
}

// ---- Shifts: the right pages move, the caret keeps its cell or lands on a byte ----

TEST_F(PageWindowTest, ShiftOntoTheSecondToLastPageReadsTheShortLastPage) {
    const std::string path = MakeFile("f", 3 * P + 17);
    ASSERT_TRUE(OpenDocument(s, path, 0));
    ASSERT_TRUE(LoadNextPage(s, 0));
    EXPECT_EQ(s.pages.PageIndex, 1u);
    ExpectPageHolds(s.pages.PrevPage, 0, bytes);
    ExpectPageHolds(s.pages.CurrentPage, 1, bytes);
    ExpectPageHolds(s.pages.NextPage, 2, bytes);
    ASSERT_TRUE(LoadNextPage(s, 0));
    ExpectPageHolds(s.pages.NextPage, 3, bytes);
    EXPECT_EQ(s.pages.NextPage.Length, 17u);
    ASSERT_TRUE(LoadNextPage(s, 0));
    EXPECT_EQ(s.pages.PageIndex, 3u);
    EXPECT_FALSE(s.pages.NextPage.present());
    EXPECT_EQ(s.pages.CurrentPage.Length, 17u);
    ExpectWindowSound();
    EXPECT_FALSE(LoadNextPage(s, 0));  // no next page: nothing to shift onto
    EXPECT_EQ(s.pages.PageIndex, 3u);
}

TEST_F(PageWindowTest, CaretPastTheEndOfAShortLastPageLandsOnTheLastByte) {
    const std::string path = MakeFile("f", P + 20);
    ASSERT_TRUE(OpenDocument(s, path, 0));
    s.grid.caretRow = 3;
    s.grid.caretColumn = 4;
    ASSERT_TRUE(LoadNextPage(s, 0));
    EXPECT_EQ(s.CaretPage, PageSlot::Current);
    EXPECT_EQ(s.CaretOffset, 19);
    EXPECT_EQ(s.grid.caretRow, 1);
    EXPECT_EQ(s.grid.caretColumn, 3);
    EXPECT_EQ(s.CaretX, 13 * 8);
    EXPECT_EQ(s.CaretY, 16);
    ExpectWindowSound();
}

TEST_F(PageWindowTest, CaretKeepsItsCellAcrossAShiftAndMayFallIntoTheNextPage) {
    const std::string path = MakeFile("f", 4 * P);
    ASSERT_TRUE(OpenDocument(s, path, 0));
    s.grid.caretRow = 36;
    s.grid.caretColumn = 5;
    ASSERT_TRUE(LoadNextPage(s, static_cast<std::int32_t>(P - 16 * 10 + 7)));  // rounded down to a row
    EXPECT_EQ(s.TopOffset, static_cast<std::int32_t>(P - 160));
    EXPECT_EQ(s.CaretPage, PageSlot::Next);
    EXPECT_EQ(s.CaretOffset, -160 + 36 * 16 + 5);
    ExpectWindowSound();
}

TEST_F(PageWindowTest, CaretPastTheEndOfAShortNextPageLandsOnTheLastByte) {
    const std::string path = MakeFile("f", 2 * P + 30);
    ASSERT_TRUE(OpenDocument(s, path, 0));
    s.grid.caretRow = 10;
    s.grid.caretColumn = 15;
    // Page 1 becomes current with its last row on top; the screen runs on into
    // page 2, which has only 30 bytes: the caret's cell holds no byte.
    ASSERT_TRUE(LoadNextPage(s, static_cast<std::int32_t>(P - 16)));
    EXPECT_EQ(s.CaretPage, PageSlot::Next);
    EXPECT_EQ(s.CaretOffset, 29);
    EXPECT_EQ(s.grid.caretRow, 2);
    EXPECT_EQ(s.grid.caretColumn, 13);
    ExpectWindowSound();
}

TEST_F(PageWindowTest, OneRowUpFromThePageTopShowsTheLastRowOfThePreviousPage) {
    const std::string path = MakeFile("f", 3 * P);
    ASSERT_TRUE(OpenDocument(s, path, 1));
    ASSERT_TRUE(LoadPreviousPage(s, 1));
    EXPECT_EQ(s.pages.PageIndex, 0u);
    EXPECT_EQ(s.TopOffset, 65520);
    EXPECT_FALSE(s.pages.PrevPage.present());
    ExpectPageHolds(s.pages.CurrentPage, 0, bytes);
    ExpectPageHolds(s.pages.NextPage, 1, bytes);
    EXPECT_EQ(s.CaretPage, PageSlot::Current);
    EXPECT_EQ(s.CaretOffset, 65520);
    ExpectWindowSound();
}

TEST_F(PageWindowTest, AWholePageBackOrAOneByteTopBothStartAtThePagesFirstRow) {
    const std::string path = MakeFile("f", 3 * P);
    ASSERT_TRUE(OpenDocument(s, path, 1));
    ASSERT_TRUE(LoadPreviousPage(s, static_cast<std::int32_t>(P)));
    EXPECT_EQ(s.TopOffset, 0);
    ASSERT_TRUE(LoadNextPage(s, 1));
    EXPECT_EQ(s.TopOffset, 0);
    EXPECT_EQ(s.pages.PageIndex, 1u);
}

// ---- Files changed by other programs between operations ----

TEST_F(PageWindowTest, FileThatGrewReportsItsNewSizeAtTheNextShift) {
    const std::string path = MakeFile("f", 3 * P);
    ASSERT_TRUE(OpenDocument(s, path, 0));
    std::filesystem::resize_file(path, 5 * P + 7);
    ASSERT_TRUE(LoadNextPage(s, 0));
    EXPECT_EQ(s.pages.FileSize, 5 * P + 7);
    ASSERT_TRUE(s.pages.NextPage.present());
    EXPECT_EQ(s.pages.NextPage.Length, P);
    ExpectWindowSound();
}

TEST_F(PageWindowTest, GrowthBeyondAShortHeldPageIsNotTakenIntoTheWindow) {
    const std::string path = MakeFile("f", P + 100);
    ASSERT_TRUE(OpenDocument(s, path, 0));
    std::filesystem::resize_file(path, 4 * P);
    ASSERT_TRUE(LoadNextPage(s, 0));
    // The held page 1 has 100 bytes: it stays the last page of this window.
    EXPECT_FALSE(s.pages.NextPage.present());
    EXPECT_EQ(s.pages.FileSize, P + 100);
    ExpectWindowSound();
}

TEST_F(PageWindowTest, FileThatShrankBelowTheNextPageStopsTheShiftAndChangesNothing) {
    const std::string path = MakeFile("f", 3 * P);
    ASSERT_TRUE(OpenDocument(s, path, 0));
    s.grid.caretRow = 2;
    s.grid.caretColumn = 3;
    s.CaretOffset = 35;
    s.CaretX = 13 * 8;
    s.CaretY = 32;
    std::filesystem::resize_file(path, 30000);
    EXPECT_FALSE(LoadNextPage(s, 0));
    EXPECT_EQ(ui.lastBoxText(), "Error reading file!");
    EXPECT_EQ(s.pages.PageIndex, 0u);
    EXPECT_EQ(s.pages.FileSize, 3 * P);
    ExpectPageHolds(s.pages.CurrentPage, 0, bytes);
    ExpectPageHolds(s.pages.NextPage, 1, bytes);
    EXPECT_EQ(s.CaretOffset, 35);
    EXPECT_EQ(s.grid.caretRow, 2);
    EXPECT_EQ(files.openFiles, 0);
}

TEST_F(PageWindowTest, FileThatShrankBelowThePreviousPageStopsTheShift) {
    const std::string path = MakeFile("f", 4 * P);
    ASSERT_TRUE(OpenDocument(s, path, 2));
    std::filesystem::resize_file(path, 1000);
    EXPECT_FALSE(LoadPreviousPage(s, 1));
    EXPECT_EQ(ui.lastBoxText(), "Error reading file!");
    EXPECT_EQ(s.pages.PageIndex, 2u);
    ExpectPageHolds(s.pages.PrevPage, 1, bytes);
    ExpectPageHolds(s.pages.CurrentPage, 2, bytes);
}

TEST_F(PageWindowTest, ShortPreviousPageReadStopsTheShiftEvenWhenTheSizeIsUnknown) {
    const std::string path = MakeFile("f", 4 * P);
    ASSERT_TRUE(OpenDocument(s, path, 3));
    files.plan.failSize = true;  // the shift cannot see that the file shrank
    std::filesystem::resize_file(path, P + 10);
    EXPECT_FALSE(LoadPreviousPage(s, 1));
    EXPECT_EQ(s.pages.PageIndex, 3u);
    EXPECT_TRUE(s.pages.PrevPage.present());
    EXPECT_EQ(s.pages.PrevPage.Length, P);
}

TEST_F(PageWindowTest, NextPageThatReadsNothingIsAbsentAndEndsTheFile) {
    const std::string path = MakeFile("f", 3 * P);
    ASSERT_TRUE(OpenDocument(s, path, 0));
    files.plan.failSize = true;  // the old size (3 pages) is all the shift knows
    std::filesystem::resize_file(path, 2 * P);
    ASSERT_TRUE(LoadNextPage(s, 0));
    EXPECT_FALSE(s.pages.NextPage.present());
    EXPECT_EQ(s.pages.FileSize, 2 * P);
    ExpectWindowSound();
}

TEST_F(PageWindowTest, VanishedFileStopsBothShiftsWithTheirMessages) {
    const std::string path = MakeFile("f", 3 * P);
    ASSERT_TRUE(OpenDocument(s, path, 1));
    std::filesystem::remove(path);
    EXPECT_FALSE(LoadNextPage(s, 0));
    EXPECT_EQ(ui.lastBoxText(), "Error reading file!");
    EXPECT_FALSE(LoadPreviousPage(s, 1));
    EXPECT_EQ(ui.lastBoxText(), "Error opening file!");
    EXPECT_EQ(s.pages.PageIndex, 1u);
    ExpectPageHolds(s.pages.CurrentPage, 1, bytes);
    ExpectWindowSound();
}

// ---- Unsaved changes: a failed save keeps the window where it is ----

TEST_F(PageWindowTest, FailedSaveBeforeAShiftKeepsTheWindowAndTheChange) {
    const std::string path = MakeFile("f", 3 * P);
    ASSERT_TRUE(OpenDocument(s, path, 0));
    s.pages.CurrentPage.Bytes[5] ^= 0xFF;
    s.Modified = 1;
    files.plan.failOpenUpdate = true;
    ui.answers = {BoxAnswer::Yes};
    EXPECT_FALSE(LoadNextPage(s, 0));
    EXPECT_EQ(ui.boxes[0].text, "Part of the file was modified. Save changes?");
    EXPECT_EQ(ui.boxes[0].title, "Warning");
    EXPECT_EQ(ui.boxes[0].buttons, BoxButtons::YesNo);
    EXPECT_EQ(ui.boxes[1].text, "Error opening file for writing!");
    EXPECT_EQ(s.pages.PageIndex, 0u);
    EXPECT_EQ(s.Modified, 1);
    EXPECT_EQ(s.pages.CurrentPage.Bytes[5], static_cast<std::uint8_t>(bytes[5] ^ 0xFF));
    // Answering No drops the change and lets the window move.
    ui.answers = {BoxAnswer::No};
    ASSERT_TRUE(LoadNextPage(s, 0));
    EXPECT_EQ(s.Modified, 0);
    ExpectPageHolds(s.pages.PrevPage, 0, bytes);
}

// ---- Closing, and the text view's index across opens ----

TEST_F(PageWindowTest, CloseReturnsToTheEmptyState) {
    const std::string path = MakeFile("f", 2 * P + 5);
    ASSERT_TRUE(OpenDocument(s, path, 1));
    CloseDocument(s);
    EXPECT_FALSE(s.documentOpen());
    EXPECT_FALSE(s.pages.PrevPage.present());
    EXPECT_FALSE(s.pages.NextPage.present());
    EXPECT_EQ(s.pages.PageIndex, 0u);
    EXPECT_EQ(s.pages.FileSize, 0u);
    EXPECT_EQ(s.CaretPage, PageSlot::None);
    EXPECT_EQ(s.ScreenPage, PageSlot::None);
    EXPECT_EQ(s.TopOffset, 0);
    EXPECT_EQ(s.CaretX, 0);
    EXPECT_EQ(s.pages.DocumentPath, "Vop");
    EXPECT_EQ(ui.title, "Vop");
    EXPECT_FALSE(ui.statusTwoParts);
    EXPECT_EQ(ui.statusText[0], "");
    EXPECT_FALSE(ui.caretShown);
    EXPECT_FALSE(ui.searchEnabled);
    EXPECT_TRUE(s.grid.empty());
}

TEST_F(PageWindowTest, OpeningInTheTextViewIndexesTheNewFileNotTheOldOne) {
    s.TextViewOn = 1;
    const std::string first = dir.write("first", {'a', '\n', 'b'});
    ASSERT_TRUE(OpenDocument(s, first, 0));
    EXPECT_EQ(s.lines.LineCount, 2);
    const std::string second = dir.write("second", {'x', '\n', 'y', '\n', 'z', '\n'});
    ASSERT_TRUE(OpenDocument(s, second, 0));
    EXPECT_EQ(s.lines.LineCount, 4);
    EXPECT_EQ(s.TextViewOn, 1);
}

TEST_F(PageWindowTest, TextViewSwitchesOffAboveItsLimitOnly) {
    s.TextViewOn = 1;
    ASSERT_TRUE(OpenDocument(s, dir.sparse("at-limit", TextViewLimit), 0));
    EXPECT_EQ(s.TextViewOn, 1);
    EXPECT_TRUE(s.lines.built());
    ASSERT_TRUE(OpenDocument(s, dir.sparse("over-limit", TextViewLimit + 1ull), 0));
    EXPECT_EQ(s.TextViewOn, 0);
    EXPECT_FALSE(s.lines.built());
}

// ---- Random shifts against the file itself: pages and caret always sound ----

TEST_F(PageWindowTest, RandomShiftsAlwaysHoldTheFilesPagesAndACaretOnAByte) {
    std::mt19937 rng(7);
    for (std::size_t size : {std::size_t{P + 1}, std::size_t{2 * P}, std::size_t{3 * P + 17}, std::size_t{5 * P - 1}}) {
        const std::string path = MakeFile("walk" + std::to_string(size), size, static_cast<std::uint32_t>(size));
        const std::uint32_t pages = static_cast<std::uint32_t>((size + P - 1) / P);
        ASSERT_TRUE(OpenDocument(s, path, rng() % pages));
        for (int step = 0; step < 300; ++step) {
            // A caller moves the caret's cell and then shifts; a refused shift leaves the cell alone.
            const std::int32_t row = static_cast<std::int32_t>(rng() % 37);
            const std::int32_t column = static_cast<std::int32_t>(rng() % 16);
            const std::uint32_t before = s.pages.PageIndex;
            const bool forward = rng() % 2;
            if ((forward && s.pages.NextPage.present()) || (!forward && s.pages.PrevPage.present())) {
                s.grid.caretRow = row;
                s.grid.caretColumn = column;
            }
            if (forward) {
                const bool can = s.pages.NextPage.present();
                const std::int32_t t = static_cast<std::int32_t>(rng() % (can ? s.pages.NextPage.Length : 1));
                EXPECT_EQ(LoadNextPage(s, t), can);
                EXPECT_EQ(s.pages.PageIndex, before + (can ? 1 : 0));
            } else {
                const bool can = s.pages.PrevPage.present();
                const std::int32_t d = 1 + static_cast<std::int32_t>(rng() % P);
                EXPECT_EQ(LoadPreviousPage(s, d), can);
                EXPECT_EQ(s.pages.PageIndex, before - (can ? 1 : 0));
            }
            ExpectWindowSound();
            if (s.pages.PrevPage.present()) ExpectPageHolds(s.pages.PrevPage, s.pages.PageIndex - 1, bytes);
            ExpectPageHolds(s.pages.CurrentPage, s.pages.PageIndex, bytes);
            if (s.pages.NextPage.present()) ExpectPageHolds(s.pages.NextPage, s.pages.PageIndex + 1, bytes);
            EXPECT_EQ(s.pages.FileSize, size);
            if (HasFailure()) return;
        }
        EXPECT_TRUE(ui.boxes.empty());
        EXPECT_EQ(files.openFiles, 0);
    }
}

}  // namespace
}  // namespace vop
