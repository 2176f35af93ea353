// Find, F3 and both kinds of replace against a plain reference: the file as
// a byte array, the user's unsaved edits at absolute addresses inside the
// held pages, and the caret's address. The program must find what a naive
// search over the bytes the user sees finds, ask the same questions, write
// the same bytes to memory and disk, and leave the caret where the reference
// does, on the screen, with the screen showing the bytes around it. A jump
// whose question is answered No drops the edits the search saw: the search
// then goes on in the file as it now is. In a third of the runs the file
// vanishes or cannot be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>

#include "search/find_replace.h"
#include "search/sequence_matcher.h"
#include "search/sequence_search.h"
#include "support/session.h"
#include "view/screen_layout.h"
#include "view/view_position.h"

namespace vop {
namespace {

using test::Bytes;
using std::int64_t;
constexpr int64_t P = PageSize;
enum class Disk { Sound, Gone, ReadOnly };
enum class Op { Find, OneByOne, All };
const std::string PageQuestion = "Part of the file was modified. Save changes?";
const std::string Question = "Replace this occurrance?";
const std::string NotFound = "Sequence not found!";

// What the user should see, and what the file should hold.
struct Reference {
    Bytes disk;   // the file
    Bytes shown;  // the file with the unsaved edits
    std::map<int64_t, std::uint8_t> edits;
    int64_t caret = 0;
    int64_t page = 0;
    int64_t perRow = 16;
    int64_t rows = 10;
    Disk fault = Disk::Sound;
    std::deque<BoxAnswer> answers;  // every box takes one, as the fake does
    std::vector<std::string> boxes;
    bool running = false;
    bool agreed = false;
    bool declined = false;

    int64_t size() const { return int64_t(disk.size()); }
    int64_t heldEnd() const { return std::min(size(), (page + 2) * P); }

    BoxAnswer ask(const std::string& text, BoxAnswer unanswered) {
        boxes.push_back(text);
        if (answers.empty()) return unanswered;
        const BoxAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void tell(const std::string& text) { ask(text, BoxAnswer::Ok); }

    // The first occurrence at or after `from` in what the user sees; -1 for
    // none, -2 when the rest of the file is needed and gone.
    int64_t find(int64_t from, const Bytes& pattern) {
        const int64_t reach = fault == Disk::Gone ? heldEnd() : size();
        if (from < reach) {
            const auto end = shown.begin() + reach;
            const auto at = std::search(shown.begin() + from, end, pattern.begin(), pattern.end());
            if (at != end) return at - shown.begin();
        }
        if (from >= size() || reach == size()) return -1;
        tell("Error opening file for reading!");
        return -2;
    }
    bool holds(int64_t at, const Bytes& pattern) const {
        return std::equal(pattern.begin(), pattern.end(), shown.begin() + at);
    }
    bool save() {
        if (fault != Disk::Sound) {
            tell("Error opening file for writing!");
            return false;
        }
        for (const auto& [a, v] : edits) disk[std::size_t(a)] = v;
        edits.clear();
        return true;
    }
    void write(int64_t at, const Bytes& with) {
        for (std::size_t k = 0; k < with.size(); ++k) {
            edits[at + int64_t(k)] = with[k];
            shown[std::size_t(at) + k] = with[k];
        }
    }

    // Leaving the held pages asks first: Yes saves, No reads the pages back.
    bool jump(int64_t to) {
        const bool leaves = to / P != page;
        if (leaves && !edits.empty()) {
            const bool yes = (running && agreed) || ask(PageQuestion, BoxAnswer::No) == BoxAnswer::Yes;
            if (yes && !save()) return false;
            agreed = running && yes;
            declined = running && !yes;
            if (!yes && fault == Disk::Gone) {  // nothing to read back: the edits stay
                tell("Error opening file!");
                return false;
            }
            if (!yes) {
                shown = disk;
                edits.clear();
            }
        }
        if (leaves && fault == Disk::Gone) {
            tell("Error opening file!");
            return false;
        }
        page = to / P;
        caret = to;
        return true;
    }

    // Find, F3 and the replace's searches: 1 found, 0 not found, -1 failed.
    int search(int64_t from, const Bytes& pattern) {
        while (true) {
            const int64_t at = find(from, pattern);
            if (at == -2) return -1;
            if (at == -1) return 0;
            if (!jump(at)) return -1;
            if (holds(at, pattern)) return 1;
            from = at + 1;
        }
    }

    void findThenF3(const Bytes& pattern) {
        if (search(caret, pattern) == 0) tell(NotFound);
        // F3 searches again from the next byte; without a pattern it opens Find.
        if (pattern.empty()) return;
        if (search(caret + 1, pattern) == 0) tell(NotFound);
    }

    void replaceOneByOne(const Bytes& pattern, const Bytes& with) {
        int result = search(caret, pattern);
        while (result == 1) {
            const BoxAnswer answer = ask(Question, BoxAnswer::Cancel);
            if (answer == BoxAnswer::Cancel) return;
            if (answer == BoxAnswer::Yes) write(caret, with);
            const int64_t from = answer == BoxAnswer::Yes ? caret : caret + 1;
            result = search(from, pattern);
        }
        if (result == 0) tell(NotFound);
    }

    // The caret a run leaves after its last occurrence, when the screen can
    // show it with its top row in the occurrence's page.
    bool showable(int64_t address) const {
        const int64_t pageEnd = std::min(size(), (page + 1) * P);
        const int64_t top = std::min(address - address % perRow, (pageEnd - 1) / perRow * perRow);
        return (address - top) / perRow < rows;
    }

    void replaceAll(const Bytes& pattern, const Bytes& with) {
        running = true;
        agreed = false;
        declined = false;
        int count = 0;
        int64_t last = -1;
        for (int64_t from = caret;;) {
            const int64_t at = find(from, pattern);
            if (at < 0) break;
            if (at / P == page + 1 && (edits.empty() || agreed)) {
                // The next page needs no question: saved and shifted in.
                if (!edits.empty() && !save()) break;
                if (fault == Disk::Gone) {
                    tell("Error reading file!");
                    break;
                }
                page += 1;
            } else if (at / P != page) {
                if (!jump(at)) break;
                last = -1;  // the jump showed the caret
                if (declined) break;
            }
            write(at, with);
            count += 1;
            last = at;
            caret = at;
            from = at + int64_t(pattern.size());
            if (from >= size()) break;
            caret = from;
        }
        running = false;
        if (last >= 0 && !showable(caret)) caret = last;
        if (declined) return;
        if (agreed) save();
        tell("Replaced " + std::to_string(count) + " occurances");
    }
};

// The program with the reference beside it, and the checks between them.
struct SearchRun {
    test::Session t;
    Reference want;
    std::mt19937 rng;

    int64_t random(int64_t below) { return int64_t(rng() % std::uint64_t(below)); }

    SearchRun(int64_t size, std::uint32_t run) : rng(std::uint32_t(size) * 977 + run) {
        want.fault = Disk(run % 3);
        // Few distinct bytes, so that occurrences repeat and overlap; in half the runs a
        // short unit repeated with slips, on which the matcher gives up its filter.
        const Bytes unit = {0x41, std::uint8_t(0x41 + random(2)), 0x42};
        for (int64_t k = 0; k < size; ++k) want.disk.push_back(fileByte(k, run, unit));
        want.shown = want.disk;
        const auto page = std::uint32_t(random((size + P - 1) / P));
        EXPECT_EQ(t.open(want.disk, page), LoadOutcome::Loaded);
        want.page = page;
        want.perRow = BytesPerRow(t.s);
        want.rows = ScreenRows(t.s);
        t.files.plan.failOpenUpdate = want.fault == Disk::ReadOnly;
        if (want.fault == Disk::Gone) std::filesystem::rename(t.path, t.path + ".away");
    }
    std::uint8_t fileByte(int64_t k, std::uint32_t run, const Bytes& unit) {
        const bool slipping = run % 2 == 1;
        if (random(slipping ? 3 : 500) == 0) return std::uint8_t(random(256));
        if (slipping) return std::uint8_t(0x41 + random(2));
        return unit[std::size_t(k % 3)];
    }

    // A few edits in the held pages, made as typing makes them; half of them
    // in the next page, where a search's jump asks about them.
    void edit() {
        const int64_t next = std::min((want.page + 1) * P, want.heldEnd() - 1);
        for (int64_t e = random(4); e > 0; --e) {
            const int64_t start = random(2) == 0 ? want.page * P : next;
            const int64_t a = start + random(want.heldEnd() - start);
            const auto v = std::uint8_t(0x41 + random(2));
            if (v == want.shown[std::size_t(a)]) continue;
            want.edits[a] = v;
            want.shown[std::size_t(a)] = v;
            const PageSlot slot = a / P == want.page ? PageSlot::Current : PageSlot::Next;
            t.s.slot(slot)->Bytes[std::size_t(a % P)] = v;
            t.s.Modified = 1;
        }
    }

    // The caret anywhere the screen can show from the current page; half the
    // time before `before`, so that the search meets what is there.
    void placeCaret(int64_t before) {
        const int64_t n = want.perRow;
        const int64_t lastRow = (t.s.pages.CurrentPage.Length - 1) / n * n;
        int64_t reach = std::min(want.heldEnd() - want.page * P, lastRow + want.rows * n);
        if (random(2) == 0 && before >= want.page * P) reach = std::min(reach, before - want.page * P + 1);
        const int64_t offset = random(reach);
        t.s.TopOffset = std::int32_t(std::min(offset - offset % n, lastRow));
        SetCaretByte(t.s, offset, std::int32_t(n));
        RefreshView(t.s);
        want.caret = want.page * P + offset;
    }

    // Where a pattern is taken from, and how long it is: anywhere; across the
    // end of the current page, where the screen's reach ends; across a later
    // page border, where the search's chunks meet; or over an edit in the next
    // page, which the jump there may drop.
    std::pair<int64_t, int64_t> patternPlace() {
        const int64_t size = want.size();
        int64_t length = random(257);
        int64_t from = random(size);
        switch (random(5)) {
            case 0: length = 1 + random(6); break;
            case 1: from = (want.page + 1) * P - random(length + 1); break;
            case 2: from = (want.page + 2 + random(2)) * P - random(length + 1); break;
            default: {
                length = 8 + random(40);
                const auto next = want.edits.lower_bound((want.page + 1) * P);
                if (next != want.edits.end()) from = next->first - random(std::min(length, next->first % P + 1));
                break;
            }
        }
        length = std::min(length, size);
        from = std::clamp<int64_t>(from, 0, size - length);
        return {from, length};
    }
    // The bytes the user sees there, now and then changed to be found nowhere.
    Bytes pattern(int64_t from, int64_t length) {
        Bytes p;
        for (int64_t k = 0; k < length && from + k < want.size(); ++k) p.push_back(want.shown[std::size_t(from + k)]);
        if (!p.empty() && random(5) == 0) p[std::size_t(random(int64_t(p.size())))] ^= 0x03;
        return p;
    }
    Bytes replacement(const Bytes& pattern) {
        Bytes with = pattern;
        for (auto& b : with)
            if (random(5) != 0) b ^= 0x20;
        return with;
    }

    void run(Op op, const Bytes& pattern, const Bytes& with) {
        const auto n = std::int32_t(pattern.size());
        switch (op) {
            case Op::Find:
                want.findThenF3(pattern);
                RunFind(t.s, pattern.data(), n);
                DataWindowKeyDown(t.s, Key::F3, {});
                break;
            case Op::OneByOne:
                want.replaceOneByOne(pattern, with);
                ReplaceOneByOne(t.s, pattern.data(), with.data(), n);
                break;
            case Op::All:
                want.replaceAll(pattern, with);
                ReplaceAll(t.s, pattern.data(), with.data(), n);
                break;
        }
    }

    void step() {
        edit();
        const auto [from, length] = patternPlace();
        placeCaret(from);
        const Bytes p = pattern(from, length);
        const Bytes with = replacement(p);
        // A replace never runs with empty sequences.
        const Op op = p.empty() ? Op::Find : Op(random(3));
        for (int k = 0; k < 6; ++k) want.answers.push_back(BoxAnswer(1 + random(3)));
        t.ui.answers = want.answers;
        t.ui.boxes.clear();
        want.boxes.clear();
        run(op, p, with);
    }

    std::vector<std::string> shownBoxes() const {
        std::vector<std::string> texts;
        for (const auto& box : t.ui.boxes) texts.push_back(box.text);
        return texts;
    }
    Bytes held() const {
        const PageWindow& w = t.s.pages;
        Bytes bytes(w.CurrentPage.Bytes.get(), w.CurrentPage.Bytes.get() + w.CurrentPage.Length);
        if (w.NextPage.present()) bytes.insert(bytes.end(), w.NextPage.Bytes.get(), w.NextPage.Bytes.get() + w.NextPage.Length);
        return bytes;
    }
    Bytes wantHeld() const {
        const auto start = want.shown.begin() + want.page * P;
        return Bytes(start, want.shown.begin() + want.heldEnd());
    }
    // The grid's byte cells from the top row, as far as the file reaches.
    Bytes onScreen() const {
        const ScreenGrid& g = t.s.grid;
        const int64_t first = want.page * P + t.s.TopOffset;
        Bytes cells;
        for (int64_t k = 0; k < want.rows * want.perRow && first + k < want.size(); ++k)
            cells.push_back(g.at(int(k / want.perRow), int(10 + k % want.perRow)));
        return cells;
    }
    Bytes wantOnScreen() const {
        const int64_t first = want.page * P + t.s.TopOffset;
        const int64_t end = std::min(want.size(), first + want.rows * want.perRow);
        return Bytes(want.shown.begin() + first, want.shown.begin() + end);
    }

    void expectSameAsReference() {
        const EditorState& s = t.s;
        EXPECT_EQ(shownBoxes(), want.boxes);
        EXPECT_EQ(int64_t{CaretAddress(s)}, want.caret);
        EXPECT_EQ(int64_t{s.pages.PageIndex}, want.page);
        EXPECT_EQ(s.Modified, want.edits.empty() ? 0 : 1);
        EXPECT_EQ(t.ui.blinking, 0);
        EXPECT_EQ(held(), wantHeld());
        if (want.fault != Disk::Gone) {
            EXPECT_EQ(test::ReadWholeFile(t.path), want.disk);
        }
        // The caret on the screen, whose top row lies in the current page.
        const int64_t fromTop = want.caret - want.page * P - s.TopOffset;
        EXPECT_GE(s.TopOffset, 0);
        EXPECT_LT(s.TopOffset, std::int32_t(s.pages.CurrentPage.Length));
        EXPECT_EQ(s.TopOffset % want.perRow, 0);
        EXPECT_GE(fromTop, 0);
        EXPECT_LT(fromTop / want.perRow, want.rows);
        EXPECT_EQ(int64_t{s.grid.caretRow}, fromTop / want.perRow);
        EXPECT_EQ(int64_t{s.grid.caretColumn}, fromTop % want.perRow);
        EXPECT_EQ(onScreen(), wantOnScreen());
    }
};

// The matcher against std::search on text made of runs of two bytes, where
// its filter gives up for the linear scan: patterns AᵃBᵇ, and any piece of
// the text.
TEST(SequenceMatcher, FindsTheFirstOccurrenceInRunsOfTwoBytes) {
    std::mt19937 rng(5);
    for (int round = 0; round < 400 && !HasFailure(); ++round) {
        Bytes text;
        while (text.size() < 3000) text.insert(text.end(), 1 + rng() % 40, std::uint8_t(0x41 + text.size() % 2));
        Bytes pattern(1 + rng() % 30, 0x41);
        pattern.insert(pattern.end(), rng() % 30, 0x42);
        if (round % 2 == 1) {
            const auto from = text.begin() + rng() % 2000;
            pattern.assign(from, from + 1 + rng() % 256);
        }
        const SequenceMatcher matcher(pattern.data(), pattern.size());
        const std::size_t start = rng() % 100;
        const auto want = std::search(text.begin() + start, text.end(), pattern.begin(), pattern.end());
        const std::size_t at = matcher.find(text.data() + start, text.size() - start);
        const std::size_t found = at == SequenceMatcher::npos ? text.size() : start + at;
        EXPECT_EQ(found, std::size_t(want - text.begin())) << "round " << round;
    }
}

// Another program wrote the file between the search and its jump: the bytes
// found are gone from under the caret. The search goes on from the next
// byte, and replace-all writes over nothing that is not the sequence. (A jump
// that drops the user's typed bytes is reached by the model's runs.)
TEST(SearchRecheck, TheCaretLandsOnlyOnTheSequence) {
    const Bytes xyz = {'X', 'Y', 'Z'};
    const Bytes abc = {'a', 'b', 'c'};
    const struct Case {
        Op op;
        bool later;  // another occurrence after the first
        std::uint32_t caret;
        std::string box;
    } cases[] = {
        {Op::Find, true, 2 * P + 70, ""},
        {Op::Find, false, 2 * P + 50, NotFound},
        {Op::OneByOne, true, 2 * P + 70, Question},
        {Op::All, true, 2 * P + 73, "Replaced 1 occurances"},
        {Op::All, false, 2 * P + 50, "Replaced 0 occurances"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "op " << int(c.op) << " later " << c.later);
        test::Session t;
        Bytes file(3 * P, 0);
        if (c.later) std::copy(xyz.begin(), xyz.end(), file.begin() + 2 * P + 70);
        const Bytes rewritten = file;
        std::copy(xyz.begin(), xyz.end(), file.begin() + 2 * P + 50);
        ASSERT_EQ(t.open(file), LoadOutcome::Loaded);
        // The search reads the file once; the jump's load opens it next.
        t.files.plan.changeAtOpen = t.files.pathsAsked.size() + 2;
        t.files.plan.change = [&] { t.dir.write("doc", rewritten); };
        if (c.op == Op::Find) RunFind(t.s, xyz.data(), 3);
        if (c.op == Op::OneByOne) ReplaceOneByOne(t.s, xyz.data(), abc.data(), 3);
        if (c.op == Op::All) ReplaceAll(t.s, xyz.data(), abc.data(), 3);
        EXPECT_EQ(CaretAddress(t.s), c.caret);
        EXPECT_EQ(t.ui.lastBoxText(), c.box);
        EXPECT_EQ(t.s.pages.CurrentPage.Bytes[50], 0);
    }
}

// After a replace-all the caret is after the last occurrence, on the screen
// (10 rows of 16 bytes), whose top row stays in the occurrence's page; when
// the screen cannot reach that far into the next page, the caret stays on
// the occurrence's first byte, on the top row. One that ends the file keeps it.
TEST(ReplaceAllEnd, TheCaretIsOnTheScreen) {
    const struct Case {
        std::uint32_t at, length, size;
        std::uint32_t caret, top;
    } cases[] = {
        {1000, 10, 3 * P, 1010, 992},
        {P - 36, 100, 3 * P, P + 64, P - 48},
        {P - 36, 150, 3 * P, P + 114, P - 16},
        {P - 36, 200, 3 * P, P - 36, P - 48},
        {P - 3, 3, P, P - 3, P - 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << " bytes at " << c.at);
        test::Session t;
        Bytes file(c.size, 0);
        std::fill_n(file.begin() + c.at, c.length, 0x55);
        ASSERT_EQ(t.open(file), LoadOutcome::Loaded);
        const Bytes pattern(c.length, 0x55);
        const Bytes with(c.length, 0xAA);
        ReplaceAll(t.s, pattern.data(), with.data(), std::int32_t(c.length));
        EXPECT_EQ(CaretAddress(t.s), c.caret);
        EXPECT_EQ(std::uint32_t(t.s.TopOffset), c.top);
        EXPECT_EQ(t.ui.lastBoxText(), "Replaced 1 occurances");
    }
}

// Esc stops a replace-all: what it replaced in pages already saved (after a
// Yes) stays saved, what it replaced since stays held and unsaved, and the
// count says all. A search stopped with Esc reports nothing and leaves the caret.
TEST(SearchCancel, EscKeepsWhatWasReplacedAndSavesNothingMore) {
    test::Session t;
    Bytes file(4 * P, 0);
    for (std::size_t page = 0; page < 4; ++page) file[page * P] = 0x41;
    ASSERT_EQ(t.open(file), LoadOutcome::Loaded);
    const Bytes pattern = {0x41};
    const Bytes with = {0x61};
    t.ui.msPerPoll = 400;  // every poll comes after a third of a second: progress shows
    t.ui.cancelAtPoll = 3;  // at the fourth page
    t.ui.answers = {BoxAnswer::Yes};
    ReplaceAll(t.s, pattern.data(), with.data(), 1);
    Bytes saved = file;
    saved[0] = 0x61;
    saved[P] = 0x61;
    EXPECT_EQ(test::ReadWholeFile(t.path), saved);
    EXPECT_EQ(t.s.Modified, 1);
    EXPECT_EQ(t.s.pages.CurrentPage.Bytes[0], 0x61);
    EXPECT_EQ(t.ui.lastBoxText(), "Replaced 3 occurances");
    EXPECT_EQ(t.ui.progress.at(0), "Replacing\xE2\x80\xA6 0 %");
    const std::size_t boxes = t.ui.boxes.size();
    const std::uint32_t caret = CaretAddress(t.s);
    t.ui.cancelAtPoll = t.ui.polls;
    RunFind(t.s, pattern.data(), 1);
    EXPECT_EQ(t.ui.boxes.size(), boxes);
    EXPECT_EQ(CaretAddress(t.s), caret);
}

class SearchModel : public ::testing::TestWithParam<int64_t> {};

TEST_P(SearchModel, AgreesWithANaiveSearchOfWhatTheUserSees) {
    for (std::uint32_t run = 0; run < 9 && !HasFailure(); ++run) {
        SearchRun r(GetParam(), run);
        for (int step = 0; step < 10 && !HasFailure(); ++step) {
            SCOPED_TRACE(testing::Message() << "run " << run << " step " << step);
            r.step();
            r.expectSameAsReference();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AroundPageBorders, SearchModel,
                         ::testing::Values(1, 255, 256, 257, P - 1, P, P + 1, 3 * P + 17, 5 * P + 17));

}  // namespace
}  // namespace vop
