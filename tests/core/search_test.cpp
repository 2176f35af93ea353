// The search's edges that the editor model's random sessions do not reach:
// the matcher on input made to send it to its linear scan, a file another
// program rewrote between a search and its jump, and Esc or a failed write
// stopping a replace-all.
// (Find, F3 and both replaces run against a naive search in
// editor_model_test.)
#include <gtest/gtest.h>

#include <random>

#include "app/operation.h"
#include "search/document_search.h"
#include "search/find_replace.h"
#include "search/search_progress.h"
#include "search/sequence_matcher.h"
#include "support/session.h"
#include "view/screen_layout.h"
#include "view/status_text.h"

namespace vop {
namespace {

using namespace std;


using test::Bytes;
constexpr uint32_t P = PageSize;
enum class Op { Find, All };
const string NotFound = "Sequence not found!";
const string PageQuestion = "Part of the file was modified. Save changes?";

// The caret on a byte the screen shows.
void ExpectCaretOnScreen(EditorState& s) {
    uint64_t top = PageStart(s.pages.PageIndex) + uint64_t(s.TopOffset);
    EXPECT_LT(CaretAddress(s) - top, uint64_t(ScreenRows(s) * BytesPerRow(s))) << CaretAddress(s) << " from " << top;
}

// The matcher against std::search on text made of runs of two bytes, where
// its filter floods, takes another byte, and floods again, so that the linear
// scan takes over: patterns AᵃBᵇ, and any piece of the text. Each occurrence is sought after the one before, as replace-all
// does, a few at a time. (find, its first, is checked in editor_model_test.)
TEST(SequenceMatcher, FindsWhatStdSearchFindsInRunsOfTwoBytes) {
    mt19937 rng(5);
    for (int round = 0; round < 400 && !HasFailure(); ++round) {
        Bytes text;
        while (text.size() < 3000) text.insert(text.end(), 1 + rng() % 40, uint8_t(0x41 * (text.size() % 2)));
        Bytes pattern(1 + rng() % 30, 0);
        pattern.insert(pattern.end(), rng() % 30, 0x41);
        if (round % 2 == 1) {
            auto from = text.begin() + rng() % 2000;
            pattern.assign(from, from + 1 + rng() % 256);
        }
        SequenceMatcher matcher(pattern.data(), pattern.size());
        vector<size_t> want, got;
        for (auto at = text.begin(); (at = std::search(at, text.end(), pattern.begin(), pattern.end())) != text.end();
             at += pattern.size())
            want.push_back(at - text.begin());
        size_t hits[3], k = 0;
        for (size_t from = 0; (k = matcher.findAll(&text[from], text.size() - from, hits, 1 + round % 3)) > 0;
             from = got.back() + pattern.size())
            for (size_t i = 0; i < k; ++i) got.push_back(from + hits[i]);
        EXPECT_EQ(got, want) << "round " << round;
    }
}

// The search of what the user sees against std::search over the same
// bytes, on files whose occurrences straddle the borders it reads across:
// the current and the next page held in memory (with unsaved edits), the
// next page and the file, and the file's chunks, 64 KiB and then twice as
// large each time. An occurrence that ends past the file is none.
TEST(DocumentSearch, FindsWhatStdSearchFindsAcrossEveryBorder) {
    mt19937 rng(9);
    for (int round = 0; round < 80 && !HasFailure(); ++round) {
        test::Session t;
        Bytes file = test::PatternBytes(P * (1 + rng() % 20) + rng() % P, round);
        uint32_t page = uint32_t(rng() % ((file.size() - 1) / P + 1));
        ASSERT_EQ(t.open(file, page), LoadOutcome::Loaded);
        uint64_t held = PageStart(page) + t.s.pages.CurrentPage.Length + t.s.pages.NextPage.Length;
        vector<uint64_t> borders = {PageStart(page) + P, held, file.size()};
        for (uint64_t chunk = 64 << 10, b = held + chunk; b < file.size(); chunk = min(2 * chunk, uint64_t(512) << 10), b += chunk)
            borders.push_back(b);
        Bytes pattern(rng() % 2 ? 1 + rng() % 8 : 1 + rng() % 256);
        for (auto& b : pattern) b = uint8_t(rng());
        uint64_t border = borders[rng() % borders.size()];
        uint64_t at = border - min<uint64_t>(border, 1 + rng() % pattern.size());
        Bytes shown = file;
        for (uint64_t a = at, k = 0; k < pattern.size() && a < file.size(); ++a, ++k) {
            uint64_t o = a - PageStart(page);  // an edit where held
            uint8_t& byte = a < PageStart(page) || a >= held ? file[a] : (o < P ? t.s.pages.CurrentPage : t.s.pages.NextPage).Bytes[o % P];
            byte = shown[a] = pattern[k];
        }

        t.dir.write("doc", file);
        // From anywhere in the current page, or just before the occurrence,
        // so that a first segment may be shorter than the pattern.
        uint32_t start = uint32_t(PageStart(page) + rng() % min(at - PageStart(page) + 1, held - PageStart(page)));
        if (rng() % 2 && at >= PageStart(page) + 8) start = uint32_t(at - rng() % 8);
        auto want = std::search(shown.begin() + start, shown.end(), pattern.begin(), pattern.end());
        SearchProgress progress(t.s, "", start, file.size());
        SearchHit hit = FindInDocument(t.s, start, SequenceMatcher(pattern.data(), pattern.size()), progress);
        EXPECT_EQ(hit.outcome == SearchOutcome::Found, want != shown.end()) << "round " << round;
        if (want != shown.end()) {
            EXPECT_EQ(hit.address, uint32_t(want - shown.begin())) << "round " << round;
        }
    }
}

// Another program wrote the file between the search and its jump, or
// between a replace-all's search and its quiet shift to the next page (an
// occurrence that starts in the held next page and ends in the file): the
// bytes found are gone from under the caret, or only their first one is. The
// search goes on from the next byte, and replace-all writes over nothing that
// is not the sequence. (A jump that drops the user's typed bytes is reached
// by the model's runs.)
TEST(SearchRecheck, TheCaretLandsOnlyOnTheSequence) {
    Bytes xyz = {'X', 'Y', 'Z'};
    Bytes abc = {'a', 'b', 'c'};
    struct Case {
        Op op;
        bool later;  // another occurrence after the first
        uint32_t at, caret;
        string box;
        uint32_t movedTo = 0;  // where the other program wrote it instead: a byte already passed
    } cases[] = {
        {Op::Find, true, 2 * P + 50, 2 * P + 70, ""},
        {Op::Find, false, 2 * P + 50, 2 * P + 50, NotFound, 2 * P + 49},
        {Op::All, true, 2 * P + 50, 2 * P + 73, "Replaced 1 occurances"},
        {Op::All, false, 2 * P - 1, 2 * P - 1, "Replaced 0 occurances"},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "op " << int(c.op) << " later " << c.later);
        test::Session t;
        Bytes file(3 * P, 0);
        if (c.later) copy(xyz.begin(), xyz.end(), file.begin() + 2 * P + 70);
        Bytes rewritten = file;
        if (c.at > 2 * P) copy(xyz.begin() + 1, xyz.end(), rewritten.begin() + c.at + 1);  // only X is gone
        if (c.movedTo) copy(xyz.begin(), xyz.end(), rewritten.begin() + c.movedTo);
        copy(xyz.begin(), xyz.end(), file.begin() + c.at);
        ASSERT_EQ(t.open(file), LoadOutcome::Loaded);
        // The search reads the file once; the jump's load reads it next.
        t.files.plan.changeAtRead = t.files.reads + 2;
        t.files.plan.change = [&] { t.dir.write("doc", rewritten); };
        if (c.op == Op::Find) RunFind(t.s, xyz.data(), 3);
        if (c.op == Op::All) ReplaceAll(t.s, xyz.data(), abc.data(), 3);
        EXPECT_EQ(CaretAddress(t.s), c.caret);
        EXPECT_EQ(t.ui.lastBoxText(), c.box);
        EXPECT_EQ(t.s.Modified, c.later && c.op == Op::All);
    }
}

// A replace-all stopped by Esc, or by a write that fails, on occurrences that
// each cross into the next page: what it replaced in pages already saved
// (after a Yes) stays saved, what it replaced since stays held and unsaved,
// and the count says all. A save whose flush fails has failed, whatever its
// writes said. A close that fails once every page was written leaves what
// is held unsaved too, and the count still says all. The page a run leaves
// is written then; the next page's changes stay held and marked until the
// run leaves that page too (a shift that then fails keeps them), so each
// page is written once. The file is opened once for the whole run. A search
// stopped with Esc reports nothing and leaves the caret.
TEST(SearchCancel, EscOrAFailedWriteKeepsWhatWasReplaced) {
    struct {
        int cancelAtPoll, failWriteNumber;
        uint32_t heldPage;
        string box;
        int writes;
        bool failClose = false;
        int failFlushNumber = 0;
        size_t cutAtRead = 0;  // the file cut back to two pages before this read of the run
    } cases[] = {
        {3, 0, 1, "Replaced 2 occurances", 2},   // Esc on page 1
        {-1, 3, 1, "Replaced 2 occurances", 3},  // writing page 1 as the run leaves it fails
        {-1, 0, 1, "Replaced 2 occurances", 3, false, 2},  // so does its flush
        {-1, 0, 1, "Replaced 2 occurances", 3, false, 0, 6},  // the shift after that write fails
        {-1, 4, 2, "Replaced 3 occurances", 4},  // writing page 2 at the end fails
        {-1, 0, 2, "Replaced 3 occurances", 5, true},  // every page written, closing the file fails
    };
    for (auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        test::Session t;
        Bytes file(4 * P, 0);
        for (size_t page = 0; page < 4; ++page) file[page * P] = 0x41;
        ASSERT_EQ(t.open(file), LoadOutcome::Loaded);
        Bytes pattern = {0, 0x41};
        Bytes with = {0, 0x61};
        t.ui.msPerPoll = 400;  // every poll comes after a third of a second: progress shows
        t.ui.cancelAtPoll = c.cancelAtPoll;
        t.files.plan = {false, c.failWriteNumber, 0, c.failClose};
        t.files.plan.failFlushNumber = c.failFlushNumber;
        t.files.plan.changeAtRead = c.cutAtRead ? t.files.reads + c.cutAtRead : 0;
        t.files.plan.change = [&] { filesystem::resize_file(t.path, 2 * P); };
        t.ui.reply(PageQuestion, BoxAnswer::Yes);
        ReplaceAll(t.s, pattern.data(), with.data(), 2);
        ExpectCaretOnScreen(t.s);
        Bytes saved = file;
        for (size_t page = 1; page <= (c.failClose ? 3 : 1); ++page) saved[page * P] = 0x61;
        if (c.cutAtRead) saved.resize(2 * P);
        EXPECT_EQ(test::ReadWholeFile(t.path), saved);
        EXPECT_EQ(t.files.writes, c.writes);
        EXPECT_EQ(t.files.pathsAsked.size(), 2u);  // the document's opening, then the run
        EXPECT_EQ(t.s.Modified, 1);
        EXPECT_EQ(t.s.pages.PageIndex, c.heldPage);
        EXPECT_EQ(t.s.pages.NextPage.Bytes[0], 0x61);
        EXPECT_TRUE(t.s.pages.NextPage.Changed);
        EXPECT_EQ(t.ui.lastBoxText(), c.box);
        EXPECT_EQ(t.ui.progress.at(0), "Replacing\xE2\x80\xA6 0 %");
        size_t boxes = t.ui.boxes.size();
        uint32_t caret = CaretAddress(t.s);
        t.ui.cancelAtPoll = t.ui.polls;
        RunFind(t.s, pattern.data(), 2);
        EXPECT_EQ(t.ui.boxes.size(), boxes);
        EXPECT_EQ(CaretAddress(t.s), caret);
        EXPECT_EQ(t.ui.statusText[0], CaretAddressText(caret));
    }
}

// The Replace dialog's OK starts a replace only with a sequence and a
// replacement of the same length, one byte included; unequal ones are
// refused with a message, and the dialog stays.
TEST(ReplaceDialog, StartsOnlyWithEqualLengths) {
    test::Session t;
    EXPECT_TRUE(ReplaceMayStart(t.s, 1, 1));
    EXPECT_FALSE(ReplaceMayStart(t.s, 0, 0));
    EXPECT_FALSE(ReplaceMayStart(t.s, 2, 3));
    EXPECT_EQ(t.ui.lastBoxText(), "Source and target must have equal lenght!");
}

// Another program at the file while a replace-all runs over a 5-page file
// with an occurrence in pages 0, 2 and 4, each reached by a jump (Yes to the
// first question saves the rest as the run goes): it cuts the file short
// before the run reaches page 4 (below it, or inside it before the
// occurrence), and the jump there is refused; or it locks the file as the
// run starts, and the writes open it again once the lock has passed. The
// caret ends on the screen after the last occurrence replaced, and what was
// saved is in the file.
TEST(SearchCancel, AnotherProgramCutsOrLocksTheFileUnderAReplaceAll) {
    struct {
        size_t cutTo;  // none: locked at the run's first open
        string box;
        uint32_t caret;
        size_t replaced;
    } cases[] = {
        {3 * P, "Replaced 2 occurances", 2 * P + 102, 2},
        {4 * P + 50, "Replaced 2 occurances", 2 * P + 102, 2},
        {0, "Replaced 3 occurances", 4 * P + 102, 3},
    };
    Bytes ab = {'A', 'B'};
    Bytes xy = {'x', 'y'};
    for (auto& c : cases) {
        SCOPED_TRACE(c.box);
        test::Session t;
        Bytes file(5 * P, 0);
        for (size_t page : {0, 2, 4}) copy(ab.begin(), ab.end(), file.begin() + page * P + 100);
        ASSERT_EQ(t.open(file), LoadOutcome::Loaded);
        t.files.plan.failOpenNumber = c.cutTo ? 0 : t.files.pathsAsked.size() + 1;
        t.files.plan.changeAtWrite = c.cutTo ? 2 : 0;  // as page 2 is saved before the jump to page 4
        t.files.plan.change = [&] { filesystem::resize_file(t.path, c.cutTo); };
        t.ui.reply(PageQuestion, BoxAnswer::Yes);
        ReplaceAll(t.s, ab.data(), xy.data(), 2);
        EXPECT_EQ(t.ui.lastBoxText(), c.box);
        EXPECT_EQ(CaretAddress(t.s), c.caret);
        ExpectCaretOnScreen(t.s);
        for (size_t k = 0; k < c.replaced; ++k) copy(xy.begin(), xy.end(), file.begin() + 2 * k * P + 100);
        if (c.cutTo) file.resize(c.cutTo);
        EXPECT_EQ(test::ReadWholeFile(t.path), file);
        EXPECT_EQ(t.s.Modified, 0);
    }
}

// A replace-all's quiet shift to the next page finds the file grown by
// another program: the status bar shows the size it found.
TEST(SearchCancel, AQuietShiftShowsTheSizeItFound) {
    test::Session t;
    Bytes file(2 * P + 100, 0);
    file[P + 10] = 'A';
    ASSERT_EQ(t.open(file), LoadOutcome::Loaded);
    filesystem::resize_file(t.path, 2 * P + 300);
    uint8_t a = 'A';
    ReplaceAll(t.s, &a, &a, 1);
    EXPECT_EQ(t.ui.statusText[1], FileSizeText(2 * P + 300));
}

// Other programs send Vop messages at any time, and a long search's poll for
// Esc delivers them: a close and a new size that arrive during a search or a
// replace-all through a file of 20 pages (here at its third poll) wait until
// it has returned. The close stops it as Esc does, then asks the save
// question about what was replaced before the window goes; the new size lays
// the screen out first. (Carried out inside the search, the close would free
// the pages the search reads.)
TEST(SearchCancel, ACloseOrANewSizeFromAnotherProgramWaitsForTheSearch) {
    for (bool replace : {false, true}) {
        SCOPED_TRACE(replace);
        test::Session t;
        Bytes file(20 * P, 0);
        file[10] = file[20] = 0x41;
        ASSERT_EQ(t.open(file), LoadOutcome::Loaded);
        Bytes pattern = {uint8_t(replace ? 0 : 0x41), uint8_t(replace ? 0x41 : 0x42)};
        Bytes with = {0, 0x61};
        t.ui.msPerPoll = 400;
        t.ui.onPoll = [&](int poll) {
            if (poll != 2) return;
            t.ui.client = {600, 300};
            int before = t.s.grid.columns;
            DataWindowResized(t.s);
            EXPECT_EQ(t.s.grid.columns, before) << "laid out inside the search";
            RequestExit(t.s);
        };
        int columns = 0;
        t.ui.onClose = [&] {
            columns = t.s.grid.columns;
            ShutDown(t.s, nullopt);
        };
        if (replace) t.ui.reply("File has been modified. Save changes?", BoxAnswer::No);
        {
            const Operation dialogsOk(t.s);
            if (replace) ReplaceAll(t.s, pattern.data(), with.data(), 2);
            if (!replace) RunFind(t.s, pattern.data(), 2);
        }
        EXPECT_TRUE(t.ui.mainWindowClosed);
        EXPECT_EQ(columns, BytesPerRowFor(600, 0) + 10);
        EXPECT_EQ(t.ui.lastBoxText(), replace ? "File has been modified. Save changes?" : "");
        EXPECT_EQ(test::ReadWholeFile(t.path), file);
    }
}

// A long search looks for Esc often enough to stop at once, but not so often
// that asking the window system slows it: not in its first third of a
// second, then at most 40 times a second (every third clock reading here),
// its share of the way shown as it goes; the caret's address comes back
// when it ends. A quick one leaves the status bar alone.
TEST(SearchProgress, PollsForEscAtMost40TimesASecond) {
    test::Session t;
    t.open(Bytes(100));
    t.ui.msPerPoll = 10;  // each clock reading comes 10 ms after the last
    t.ui.statusText[0] = "as it was";
    SearchProgress(t.s, "Searching", 0, 10).stopAt(5);
    EXPECT_EQ(t.ui.statusText[0], "as it was");
    {
        SearchProgress progress(t.s, "Searching", 100 << 16, 200 << 16);  // a search from the middle
        for (int k = 100; k < 200; ++k) progress.stopAt(uint64_t(k) << 16);  // a second of clock readings
        EXPECT_EQ(t.ui.statusText[0], "Searching 99 %");
    }
    EXPECT_EQ(t.ui.polls, 23);
    EXPECT_EQ(t.ui.progress.front(), "Searching 33 %");
    EXPECT_EQ(t.ui.statusText[0], "00000000h");
}

}  // namespace
}  // namespace vop
