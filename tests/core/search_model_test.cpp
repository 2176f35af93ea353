// Searches and replaces against a plain model: the file on disk as a byte
// array, the unsaved edits at absolute addresses inside the held pages, and
// the caret's address. The program must find what a naive search over the
// bytes the user sees finds, ask the same questions, write the same bytes
// to memory and disk, and leave the caret where the model does. In a third of
// the runs the file vanishes or cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>

#include "search/find_replace.h"
#include "search/sequence_search.h"
#include "support/session.h"
#include "view/screen_layout.h"
#include "view/view_position.h"

namespace vop {
namespace {

using Bytes = std::vector<std::uint8_t>;
using std::int64_t;
constexpr int64_t P = 65536;
enum class Disk { Sound, Gone, ReadOnly };
const std::string PageQuestion = "Part of the file was modified. Save changes?";

struct Model {
    test::Session t;
    Bytes disk;
    std::map<int64_t, std::uint8_t> edits;
    int64_t caret = 0, page = 0;
    Disk fault;
    std::deque<BoxAnswer> answers;
    std::vector<std::string> boxes;
    bool running = false, agreed = false, declined = false;

    int64_t size() const { return int64_t(disk.size()); }
    int64_t heldEnd() const { return std::min(size(), (page + 2) * P); }
    std::uint8_t at(int64_t a) const { return edits.count(a) ? edits.at(a) : disk[std::size_t(a)]; }
    BoxAnswer ask(const std::string& text, BoxAnswer none = BoxAnswer::No) {
        boxes.push_back(text);
        return answers.empty() ? none : (none = answers.front(), answers.pop_front(), none);
    }
    bool fail(const char* text) { return ask(text), false; }  // every box takes an answer off the queue
    // The first occurrence at or after `from` in what the user sees, or -1; -2 when the
    // file is needed and gone.
    int64_t find(int64_t from, const Bytes& pat) {
        const int64_t m = int64_t(pat.size());
        for (int64_t p = from; p + m <= size() && from < size(); ++p) {
            if (fault == Disk::Gone && p + m > heldEnd()) break;
            int64_t k = 0;
            while (k < m && at(p + k) == pat[std::size_t(k)]) ++k;
            if (k == m) return p;
        }
        return fault != Disk::Gone || heldEnd() >= size() || from >= size() ? -1 : (fail("Error opening file for reading!"), -2);
    }
    bool save() {
        if (fault != Disk::Sound) return fail("Error opening file for writing!");
        for (auto [a, v] : edits) disk[std::size_t(a)] = v;
        return edits.clear(), true;
    }
    // A jump to an occurrence: the save question when it leaves the page.
    bool jump(int64_t p) {
        if (p / P != page && !edits.empty()) {
            if ((running && agreed) || ask(PageQuestion) == BoxAnswer::Yes) {
                if (!save()) return false;
                agreed = running;
            } else if ((declined = running, fault == Disk::Gone)) {
                return fail("Error opening file!");  // the pages cannot be read back: the edits stay
            } else {
                edits.clear();
            }
        }
        if (p / P != page && fault == Disk::Gone) return fail("Error opening file!");
        page = p / P, caret = p;
        return true;
    }
    int search(int64_t from, const Bytes& pat) {
        const int64_t p = find(from, pat);
        return p == -2 ? -1 : p < 0 ? 0 : jump(p) ? 1 : -1;
    }
    void write(int64_t p, const Bytes& with) {
        for (std::size_t k = 0; k < with.size(); ++k) edits[p + int64_t(k)] = with[k];
    }
    void replaceAll(const Bytes& pat, const Bytes& with) {
        running = true, agreed = declined = false;
        int count = 0;
        for (int64_t from = caret;;) {
            const int64_t p = find(from, pat);
            if (p < 0 || (p / P != page ? !jump(p) || declined : (caret = p, false))) break;
            write(p, with), ++count;
            if ((from = p + int64_t(pat.size())) >= size()) break;
            caret = from;
        }
        running = false;
        if (declined) return;
        if (agreed) save();
        ask("Replaced " + std::to_string(count) + " occurances");
    }
    void replaceOneByOne(const Bytes& pat, const Bytes& with) {
        for (bool next = false;;) {
            const int r = next ? (caret + 1 < size() ? search(caret + 1, pat) : 0) : search(caret, pat);
            if (r == 0) fail("Sequence not found!");
            if (r != 1) return;
            const BoxAnswer a = ask("Replace this occurrance?", BoxAnswer::Cancel);
            if (a == BoxAnswer::Cancel) return;
            if (a == BoxAnswer::Yes) write(caret, with);
            next = a != BoxAnswer::Yes;
        }
    }

    // Held pages, disk, caret, Modified and the boxes shown, against the program.
    void check(const char* what) {
        SCOPED_TRACE(what);
        const EditorState& s = t.s;
        ASSERT_EQ(int64_t{CaretAddress(s)}, caret);
        ASSERT_EQ(int64_t{s.pages.PageIndex}, page);
        ASSERT_EQ(s.Modified, edits.empty() ? 0 : 1);
        const int64_t n = BytesPerRow(t.s);  // the caret's cell is where its address is on the screen
        ASSERT_EQ(caret - page * P - s.TopOffset, s.grid.caretRow * n + s.grid.caretColumn);
        for (std::size_t k = 0; k < std::max(boxes.size(), t.ui.boxes.size()); ++k)
            ASSERT_EQ(k < t.ui.boxes.size() ? t.ui.boxes[k].text : "none", k < boxes.size() ? boxes[k] : "none") << k;
        ASSERT_EQ(t.ui.blinking, 0);
        const PageBuffer* held[] = {&s.pages.CurrentPage, &s.pages.NextPage};
        for (int k = 0; k < 2; ++k)
            for (int64_t i = 0; i < held[k]->Length; i += 1 + i % 61)
                ASSERT_EQ(held[k]->Bytes[std::size_t(i)], at((page + k) * P + i)) << (page + k) * P + i;
        ASSERT_TRUE(fault == Disk::Gone || test::ReadWholeFile(t.path) == disk) << "file on disk";
    }
};

class SearchModel : public ::testing::TestWithParam<int64_t> {};

TEST_P(SearchModel, SearchesAndReplacesAgreeWithANaiveSearchOfWhatTheUserSees) {
    const int64_t size = GetParam();
    for (std::uint32_t run = 0; run < 9; ++run) {
        std::mt19937 rng(std::uint32_t(size) * 977 + run);
        const auto random = [&](int64_t below) { return int64_t(rng() % std::uint64_t(below)); };
        Model m;
        m.fault = run % 3 == 1 ? Disk::Gone : run % 3 == 2 ? Disk::ReadOnly : Disk::Sound;
        // Few distinct bytes, so that occurrences repeat and overlap.
        m.disk.resize(std::size_t(size));
        for (auto& b : m.disk) b = std::uint8_t(random(3) == 0 ? random(256) : 0x41 + random(2));
        m.page = random((size + P - 1) / P);
        ASSERT_EQ(m.t.open(m.disk, std::uint32_t(m.page)), LoadOutcome::Loaded);
        m.page = m.t.s.pages.PageIndex;
        m.t.files.plan.failOpenUpdate = m.fault == Disk::ReadOnly;
        if (m.fault == Disk::Gone) std::filesystem::rename(m.t.path, m.t.path + ".away");
        for (int step = 0; step < 10; ++step) {
            // Edits and a caret anywhere in the held pages.
            const int64_t start = m.page * P, held = m.heldEnd() - start;
            for (int64_t e = random(4); e > 0; --e) {
                const int64_t a = start + random(held);
                const std::uint8_t v = std::uint8_t(0x41 + random(2));
                if (v != m.at(a)) m.edits[a] = v, m.t.s.slot(a / P == m.page ? PageSlot::Current : PageSlot::Next)->Bytes[std::size_t(a % P)] = v, m.t.s.Modified = 1;
            }
            SetCaretByte(m.t.s, (m.caret = start + random(held)) - start, BytesPerRow(m.t.s));
            // A pattern from what the user sees (crossing page borders, ending the file) or made up.
            const int64_t len = random(4) == 0 ? random(257) : 1 + random(6);
            const int64_t from = random(3) == 0 ? std::max<int64_t>(0, size - len) : random(size);
            Bytes pat, with;
            for (int64_t k = 0; k < len; ++k) pat.push_back(from + k < size ? m.at(from + k) : std::uint8_t(0x41 + random(2)));
            if (len && random(4) == 0) pat[std::size_t(random(len))] ^= 0x03;  // now and then nowhere to be found
            for (int64_t k = 0; k < len; ++k) with.push_back(random(5) ? pat[std::size_t(k)] ^ 0x20 : pat[std::size_t(k)]);
            const int op = len == 0 ? 4 * int(random(2)) : int(random(5));  // a replace never runs with empty sequences
            for (int k = 0; k < 6; ++k) m.answers.push_back(BoxAnswer(1 + random(3)));
            m.t.ui.answers = m.answers;
            const std::int32_t n = std::int32_t(len);
            if (op <= 1) {
                const int want = op == 0 ? m.search(m.caret, pat) : m.caret + 1 < size ? m.search(m.caret + 1, pat) : 0;
                ASSERT_EQ((op == 0 ? SearchSequence : FindNext)(m.t.s, pat.data(), n, BoxOwner::DataWindow), want) << op;
            } else if (op == 4) {  // Find, then F3 for the pattern it remembered (none when empty: the dialog opens)
                for (int again = 0; again < 2; ++again)
                    if ((again ? (len && m.caret + 1 < size ? m.search(m.caret + 1, pat) : !len) : m.search(m.caret, pat)) == 0)
                        m.fail("Sequence not found!");
                RunFind(m.t.s, pat.data(), n);
                DataWindowKeyDown(m.t.s, Key::F3, {});
            } else {
                op == 2 ? m.replaceAll(pat, with) : m.replaceOneByOne(pat, with);
                (op == 2 ? ReplaceAll : ReplaceOneByOne)(m.t.s, pat.data(), with.data(), n);
            }
            m.check(("step " + std::to_string(step) + " op " + std::to_string(op)).c_str());
            m.answers.clear(), m.boxes.clear(), m.t.ui.boxes.clear();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AroundPageBorders, SearchModel,
                         ::testing::Values(1, 255, 256, 257, 65535, 65536, 65537, 3 * 65536 + 17));

// Esc stops a search where it is and a replace-all with what it replaced so far, held and unsaved.
TEST(SearchCancel, EscStopsSearchesAndKeepsWhatReplaceAllDid) {
    test::Session t;
    Bytes file(3 * P + 17, 0x41);
    ASSERT_EQ(t.open(file), LoadOutcome::Loaded);
    t.ui.msPerPoll = 400, t.ui.cancelAtPoll = 0;
    const Bytes missing = {0x42};
    EXPECT_EQ(FindNext(t.s, missing.data(), 1, BoxOwner::DataWindow), SearchCancelled);
    EXPECT_TRUE(CaretAddress(t.s) == 0 && t.ui.boxes.empty() && t.ui.statusText[0] == "00000000h");
    EXPECT_EQ(t.ui.progress, std::vector<std::string>{"Searching\xE2\x80\xA6 0 %"});
    EXPECT_FALSE(ReplaceMayStart(t.s, 0, 0) || ReplaceMayStart(t.s, 2, 3));
    EXPECT_TRUE(t.ui.boxes.size() == 1 && t.ui.lastBoxText() == "Source and target must have equal lenght!");
    t.ui.polls = 0, t.ui.cancelAtPoll = 5;
    const Bytes pat = {0x41, 0x41}, with = {0x61, 0x62};
    ReplaceAll(t.s, pat.data(), with.data(), 2);
    int replaced = 0;
    for (std::uint32_t i = 0; i < t.s.pages.CurrentPage.Length; i += 2) replaced += t.s.pages.CurrentPage.Bytes[i] == 0x61;
    EXPECT_TRUE(replaced > 0 && t.ui.lastBoxText() == "Replaced " + std::to_string(replaced) + " occurances");
    EXPECT_TRUE(t.s.Modified == 1 && test::ReadWholeFile(t.path) == file);
}

}  // namespace
}  // namespace vop
