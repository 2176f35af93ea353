// Searches and replaces against a plain model: the file on disk as a byte
// array, the unsaved edits at absolute addresses inside the held pages, and
// the caret's address. The program must find what a naive search over the
// bytes the user sees finds, ask the same questions, write the same bytes
// to memory and disk, and leave the caret where the model does. In a third of
// the runs the file vanishes or cannot be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <tuple>

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
    Bytes disk, shown;  // the file, and what the user sees: the file with the edits
    std::map<int64_t, std::uint8_t> edits;
    int64_t caret = 0, page = 0;
    Disk fault;
    std::deque<BoxAnswer> answers;
    std::vector<std::string> boxes;
    bool running = false, agreed = false, declined = false;

    int64_t size() const { return int64_t(disk.size()); }
    int64_t heldEnd() const { return std::min(size(), (page + 2) * P); }
    BoxAnswer ask(const std::string& text, BoxAnswer none = BoxAnswer::No) {
        boxes.push_back(text);
        return answers.empty() ? none : (none = answers.front(), answers.pop_front(), none);
    }
    bool fail(const char* text) { return ask(text), false; }  // every box takes an answer off the queue
    // The first occurrence at or after `from` in what the user sees, or -1; -2 when the file is needed and gone.
    int64_t find(int64_t from, const Bytes& pat) {
        const auto end = fault == Disk::Gone ? shown.begin() + heldEnd() : shown.end();
        const auto p = from < size() ? std::search(shown.begin() + from, end, pat.begin(), pat.end()) : end;
        return p != end ? p - shown.begin() : fault != Disk::Gone || heldEnd() >= size() || from >= size() ? -1 : (fail("Error opening file for reading!"), -2);
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
                shown = disk, edits.clear();
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
        for (std::size_t k = 0; k < with.size(); ++k) edits[p + int64_t(k)] = shown[std::size_t(p) + k] = with[k];
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
        const int64_t n = BytesPerRow(t.s);  // the caret's cell is where its address is on the screen
        ASSERT_EQ(std::tuple(int64_t{CaretAddress(s)}, int64_t{s.pages.PageIndex}, s.Modified, t.ui.blinking, caret - page * P - s.TopOffset),
                  std::tuple(caret, page, std::uint8_t(!edits.empty()), 0, s.grid.caretRow * n + s.grid.caretColumn));
        for (std::size_t k = 0; k < std::max(boxes.size(), t.ui.boxes.size()); ++k)
            ASSERT_EQ(k < t.ui.boxes.size() ? t.ui.boxes[k].text : "none", k < boxes.size() ? boxes[k] : "none") << k;
        for (const PageBuffer* h : {&s.pages.CurrentPage, &s.pages.NextPage})
            ASSERT_TRUE(std::equal(h->Bytes.get(), h->Bytes.get() + h->Length, shown.begin() + page * P + (h == &s.pages.NextPage) * P));
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
        // Few distinct bytes, so that occurrences repeat and overlap; in half the runs a short unit
        // repeated with slips, on which the matcher's filter gives up for its linear scan.
        m.disk.resize(std::size_t(size));
        const Bytes unit = {0x41, std::uint8_t(0x41 + random(2)), 0x42};
        for (std::size_t k = 0; k < m.disk.size(); ++k)
            m.disk[k] = std::uint8_t(random(run % 2 ? 3 : 500) == 0 ? random(256) : run % 2 ? 0x41 + random(2) : unit[k % 3]);
        ASSERT_EQ(m.t.open(m.shown = m.disk, std::uint32_t(random((size + P - 1) / P))), LoadOutcome::Loaded);
        m.page = m.t.s.pages.PageIndex;
        m.t.files.plan.failOpenUpdate = m.fault == Disk::ReadOnly;
        if (m.fault == Disk::Gone) std::filesystem::rename(m.t.path, m.t.path + ".away");
        for (int step = 0; step < 10; ++step) {
            // Edits and a caret anywhere in the held pages.
            const int64_t start = m.page * P, held = m.heldEnd() - start;
            for (int64_t e = random(4); e > 0; --e) {
                const int64_t a = start + random(held);
                const std::uint8_t v = std::uint8_t(0x41 + random(2));
                if (v != m.shown[std::size_t(a)]) m.edits[a] = m.shown[std::size_t(a)] = v, m.t.s.slot(a / P == m.page ? PageSlot::Current : PageSlot::Next)->Bytes[std::size_t(a % P)] = v, m.t.s.Modified = 1;
            }
            SetCaretByte(m.t.s, (m.caret = start + random(held)) - start, BytesPerRow(m.t.s));
            // A pattern from what the user sees (crossing page borders, ending the file) or made up.
            const int64_t len = random(4) == 0 ? random(257) : 1 + random(6);
            const std::int32_t n = std::int32_t(len);
            const int64_t from = random(3) == 0 ? std::max<int64_t>(0, size - len) : random(size);
            Bytes pat, with;  // the replacement: most bytes of the pattern changed
            for (int64_t k = 0; k < len; ++k) pat.push_back(from + k < size ? m.shown[std::size_t(from + k)] : std::uint8_t(0x41 + random(2)));
            if (len && random(4) == 0) pat[std::size_t(random(len))] ^= 0x03;  // now and then nowhere to be found
            for (int64_t k = 0; k < len; ++k) with.push_back(random(5) ? pat[std::size_t(k)] ^ 0x20 : pat[std::size_t(k)]);
            const int op = len == 0 ? 0 : int(random(3));  // a replace never runs with empty sequences
            for (int k = 0; k < 6; ++k) m.answers.push_back(BoxAnswer(1 + random(3)));
            m.t.ui.answers = m.answers;
            if (op == 0) {  // Find, then F3 for the pattern it remembered (none when empty: the dialog opens)
                for (int again = 0; again < 2; ++again)
                    if ((again ? (len && m.caret + 1 < size ? m.search(m.caret + 1, pat) : !len) : m.search(m.caret, pat)) == 0)
                        m.fail("Sequence not found!");
                RunFind(m.t.s, pat.data(), n);
                DataWindowKeyDown(m.t.s, Key::F3, {});
            } else {
                op == 1 ? m.replaceAll(pat, with) : m.replaceOneByOne(pat, with);
                (op == 1 ? ReplaceAll : ReplaceOneByOne)(m.t.s, pat.data(), with.data(), n);
            }
            m.check(("step " + std::to_string(step) + " op " + std::to_string(op)).c_str());
            m.answers.clear(), m.boxes.clear(), m.t.ui.boxes.clear();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AroundPageBorders, SearchModel,
                         ::testing::Values(1, 255, 256, 257, 65535, 65536, 65537, 3 * 65536 + 17));

// Esc stops a replace-all with what it replaced so far, held and unsaved (a search stopped with Esc is seen
// under Wine). A replace never starts with sequences of unequal lengths, or empty ones.
TEST(SearchCancel, EscStopsReplaceAllKeepingWhatItDid) {
    test::Session t;
    Bytes file(3 * P + 17, 0x41);
    ASSERT_EQ(t.open(file), LoadOutcome::Loaded);
    EXPECT_FALSE(ReplaceMayStart(t.s, 0, 0) || ReplaceMayStart(t.s, 2, 3));
    EXPECT_TRUE(t.ui.boxes.size() == 1 && t.ui.lastBoxText() == "Source and target must have equal lenght!");
    t.ui.msPerPoll = 400, t.ui.cancelAtPoll = 5;
    const Bytes pat = {0x41, 0x41}, with = {0x61, 0x62};
    ReplaceAll(t.s, pat.data(), with.data(), 2);
    int replaced = 0;
    for (std::uint32_t i = 0; i < t.s.pages.CurrentPage.Length; i += 2) replaced += t.s.pages.CurrentPage.Bytes[i] == 0x61;
    EXPECT_TRUE(replaced > 0 && t.ui.lastBoxText() == "Replaced " + std::to_string(replaced) + " occurances");
    EXPECT_TRUE(t.s.Modified == 1 && test::ReadWholeFile(t.path) == file && t.ui.progress[0] == "Replacing\xE2\x80\xA6 0 %");
}

}  // namespace
}  // namespace vop
