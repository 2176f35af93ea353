// Caret moves and scrolls, checked against a plain model of absolute addresses:
// the model knows only the file size, the caret address and the top address,
// and the program's paged view must agree with it after every step.
#include "view/caret_navigation.h"

#include <gtest/gtest.h>

#include "files/real_file_system.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <tuple>

#include "view/goto_address.h"
#include "document/line_index.h"
#include "view/text_view.h"
#include "view/document_view.h"
#include "support/fake_ui.h"
#include "support/temp_files.h"
#include "app/data_window_input.h"

namespace vop {
namespace {

using std::int64_t;
using std::uint64_t;
constexpr int64_t P = 65536;
constexpr int64_t TwoGiB = 0x80000000ll;

struct Model { int64_t caret = 0, top = 0; };
struct Layout { int64_t n, rows; };

Layout ReferenceLayout(ClientSize c, std::uint8_t fc) {
    const int cw = 8 << fc;
    int64_t n = 256;
    while (n > 16 && n * cw > c.width - 10 * cw - 2 * (1 << fc)) n /= 2;
    const int64_t rows = std::max(1, c.height / (2 * cw));
    return {n, std::min(rows, P / n - 1)};  // a screen never spans more than the two held pages
}

// An open file and its expected bytes: pattern bytes (or `text`) below 2 GiB;
// at 2 GiB a sparse file of zeros with marker bytes around page borders.
struct Harness {
    test::TempDir dir;
    test::FakeUi ui;
    EditorState s;
    std::string path;
    int64_t size;
    std::vector<std::uint8_t> bytes;
    std::map<int64_t, std::uint8_t> markers;
    Model model;

    Harness(int64_t fileSize, ClientSize client, std::uint8_t fontCell = 0, const std::string& text = "")
        : size(text.empty() ? fileSize : static_cast<int64_t>(text.size())) {
        if (size < TwoGiB) {
            bytes = text.empty() ? test::PatternBytes(size, static_cast<std::uint32_t>(size))
                                 : std::vector<std::uint8_t>(text.begin(), text.end());
            path = dir.write("data.bin", bytes);
        } else {
            path = dir.sparse("data.bin", size);
            std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
            for (int64_t page : {1, 2, 3, 16384, 32767, 32768})
                for (int64_t a = page * P - 3; a <= page * P + 3 && a < size; ++a)
                    f.seekp(a).put(static_cast<char>(markers[a] = static_cast<std::uint8_t>(markers.size() + 1)));
        }
        ui.client = client;
        s.ui = &ui;
        s.files = &RealFileSystem();
        s.settings.FontCell = fontCell;
        s.settings.BlockCaret = 1;
        EXPECT_EQ(OpenDocument(s, path, 0), LoadOutcome::Loaded);
    }
    std::uint8_t at(int64_t a) const { return bytes.empty() ? (markers.count(a) ? markers.at(a) : 0) : bytes[a]; }
    Layout layout() const { return ReferenceLayout(ui.client, s.settings.FontCell); }
    void setReadable(bool on) { std::filesystem::rename(on ? path + ".away" : path, on ? path : path + ".away"); }

    // Every property of a consistent view, against the model.
    void check(const std::string& what) {
        SCOPED_TRACE(what);
        const auto [n, rows] = layout();
        const PageWindow& w = s.pages;
        ASSERT_TRUE(s.documentOpen() && static_cast<int64_t>(w.FileSize) == size);
        // The page before, the page and the page after, as far as the file has them.
        const int64_t pageStart = static_cast<int64_t>(w.PageIndex) * P;
        const PageBuffer* held[] = {&w.PrevPage, &w.CurrentPage, &w.NextPage};
        for (int64_t k = 0, start = pageStart - P; k < 3; ++k, start += P)
            ASSERT_EQ(held[k]->present() ? held[k]->Length : 0, start < 0 ? 0 : std::clamp<int64_t>(size - start, 0, P))
                << "page " << k;
        // The caret is on a byte of its page; caret and top are where the model says.
        ASSERT_EQ(s.ScreenPage, PageSlot::Current);
        ASSERT_NE(s.CaretPage, PageSlot::None);
        ASSERT_TRUE(s.CaretOffset >= 0 && static_cast<std::uint32_t>(s.CaretOffset) < s.slotLength(s.CaretPage));
        ASSERT_TRUE(s.TopOffset >= 0 && s.TopOffset % n == 0 && s.TopOffset < int64_t{w.CurrentPage.Length});
        const ScreenGrid& g = s.grid;
        const int cw = 8 << s.settings.FontCell;
        const int64_t fromTop = model.caret - model.top;
        ASSERT_EQ(std::make_tuple(int64_t{CaretAddress(s)}, pageStart + s.TopOffset, g.caretRow, g.caretColumn),
                  std::make_tuple(model.caret, model.top, fromTop / n, fromTop % n));
        ASSERT_LT(g.caretRow, rows);
        ASSERT_EQ(std::make_tuple(s.CaretX, s.CaretY), std::make_tuple((g.caretColumn + 10) * cw, g.caretRow * 2 * cw));
        // The grid shows exactly the file's bytes at the addresses it labels.
        ASSERT_TRUE(g.columns == n + 10 && g.rows == rows) << g.columns << "x" << g.rows;
        std::vector<std::uint8_t> expect(g.columns * g.rows, 0x20);
        for (int64_t r = 0, a = model.top; r < rows && a < size; ++r) {
            char label[16];
            std::snprintf(label, sizeof label, "%08llX: ", static_cast<unsigned long long>(a));
            std::copy(label, label + 10, expect.begin() + r * g.columns);
            for (int64_t k = 0; k < n && a < size; ++k) expect[r * g.columns + 10 + k] = at(a++);
        }
        ASSERT_TRUE(g.cells == expect) << "first wrong cell at "
                                       << std::mismatch(expect.begin(), expect.end(), g.cells.begin()).first -
                                              expect.begin();
        const int64_t shown = std::min(size - model.top, rows * n);
        ASSERT_EQ(g.filledCells, (shown - 1) / n * g.columns + 10 + (shown - 1) % n + 1);
        // The scroll bar: a row per position, arrows only when the file does not fit.
        const int64_t range = (size + n - 1) / n - rows;
        ASSERT_EQ(ui.scrollArrowsEnabled, range >= 1);
        ASSERT_TRUE(range < 1 || ui.scrollMax == range) << ui.scrollMax;
        SyncScrollPosition(s);
        ASSERT_EQ(ui.scrollPos, model.top / n);
        PlaceCaret(s);
        ASSERT_EQ(std::make_tuple(ui.caretX - s.CaretX, ui.caretY), std::make_tuple(cw / 8, s.CaretY));
    }
};

enum class Op { Right, Left, Down, Up, RowStart, RowEnd, PageDown, PageUp, LineDown, LineUp, Wheel, Click,
                ThumbTrack, ThumbRelease, Resize, Goto, Count };
const ClientSize kClients[] = {{800, 600}, {300, 40}, {2200, 900}, {100, 15}, {1200, 333}, {594, 1}, {4300, 2000}};

// One random operation, on the program and on the model. With the file gone
// (`readable` false) whatever needs another page must leave all as it was.
void Step(Harness& h, std::mt19937& rng, bool readable, std::string& what) {
    const auto random = [&rng](int64_t below) { return static_cast<int64_t>(rng() % static_cast<uint64_t>(below)); };
    EditorState& s = h.s;
    Model& m = h.model;
    const Model before = m;
    const int64_t size = h.size;
    Layout l = h.layout();
    const int64_t n = l.n, screen = l.rows * l.n, totalRows = (size + n - 1) / n;
    const Op op = static_cast<Op>(random(static_cast<int64_t>(Op::Count)));
    const bool byKey = random(2);  // by a key of the data window, or a direct call
    const auto act = [&](int vk, void (*direct)(EditorState&)) {
        byKey ? DataWindowKeyDown(s, vk, {}) : direct(s);
    };
    what = "op " + std::to_string(static_cast<int>(op)) + " caret " + std::to_string(m.caret) + " top " +
           std::to_string(m.top);
    const auto keepOnScreen = [&] { m.top += m.caret >= m.top + screen ? n : m.caret < m.top ? -n : 0; };
    const auto jump = [&](int64_t a) {  // the target row goes to the top, unless the file fits
        if (a < size) m = {a, totalRows <= l.rows ? 0 : a - a % n};
    };
    switch (op) {
        case Op::Right: act(Key::Right, MoveRight); m.caret += m.caret + 1 < size; keepOnScreen(); break;
        case Op::Left: act(Key::Left, MoveLeft); m.caret -= m.caret > 0; keepOnScreen(); break;
        case Op::Down: act(Key::Down, MoveDown); m.caret += m.caret + n < size ? n : 0; keepOnScreen(); break;
        case Op::Up: act(Key::Up, MoveUp); m.caret -= m.caret >= n ? n : 0; keepOnScreen(); break;
        case Op::RowStart: act(Key::Home, MoveRowStart); m.caret -= m.caret % n; break;
        case Op::RowEnd:
            act(Key::End, MoveRowEnd);
            m.caret = std::min(m.caret - m.caret % n + n - 1, size - 1);
            break;
        case Op::PageDown:
            byKey ? DataWindowKeyDown(s, Key::PageDown, {}) : DataWindowScroll(s, ScrollRequest::PageDown, 0);
            if (m.top + screen < size) m = {std::min(m.caret + screen, size - 1), m.top + screen};
            break;
        case Op::PageUp:  // stops at byte 0, the caret keeping its row
            byKey ? DataWindowKeyDown(s, Key::PageUp, {}) : DataWindowScroll(s, ScrollRequest::PageUp, 0);
            m = {m.caret - std::min(m.top, screen), m.top - std::min(m.top, screen)};
            break;
        case Op::LineDown: case Op::LineUp: case Op::Wheel: {
            const bool up = op == Op::Wheel ? random(2) : op == Op::LineUp;
            if (op == Op::Wheel) {  // one row per message, whatever the distance
                DataWindowWheel(s, (up ? 120 : -120) * static_cast<int>(1 + random(3)));
            } else if (byKey) {
                DataWindowKeyDown(s, up ? Key::Up : Key::Down, {false, false, true});  // with Scroll Lock
            } else {
                random(2) ? (up ? ScrollLineUp : ScrollLineDown)(s)
                          : DataWindowScroll(s, up ? ScrollRequest::LineUp : ScrollRequest::LineDown, 0);
            }
            if (up && m.top >= n) {  // the caret keeps its byte while that stays on the screen
                m.top -= n;
                m.caret -= m.caret >= m.top + screen ? n : 0;
            } else if (!up && m.top / n + l.rows < totalRows) {
                m.top += n;
                if (m.caret < m.top) m.caret = std::min(m.caret + n, size - 1);
            }
            break;
        }
        case Op::Click: {  // anywhere, or on the cells around the file's end
            const int cw = 8 << s.settings.FontCell, left = 10 * cw + (1 << s.settings.FontCell);
            const int64_t end = size - m.top - 1 + random(3);
            const bool nearEnd = random(2) && end < screen;
            const auto x = static_cast<int>(nearEnd ? left + end % n * cw + random(cw) : random((n + 12) * cw) - cw);
            const auto y = static_cast<int>(nearEnd ? end / n * 2 * cw + random(2 * cw)
                                                    : random((l.rows + 2) * 2 * cw) - cw);
            what += " click " + std::to_string(x) + "," + std::to_string(y);
            const int64_t a = m.top + y / (2 * cw) * n + (x - left) / cw;
            const bool onByte = x >= left && x < left + n * cw && y >= 0 && y < l.rows * 2 * cw && a < size;
            EXPECT_EQ(PlaceCaretAtClick(s, x, y), onByte) << what;
            if (onByte) m.caret = a;
            break;
        }
        case Op::ThumbTrack: case Op::ThumbRelease: {
            const auto pos = static_cast<std::int32_t>(totalRows > l.rows ? random(totalRows - l.rows + 1) : 0);
            const bool release = op == Op::ThumbRelease;
            DataWindowScroll(s, release ? ScrollRequest::ThumbPosition : ScrollRequest::ThumbTrack, pos);
            if (release || size < 11141121) jump(pos * n);  // big files move only on release
            break;
        }
        case Op::Resize:
            h.ui.client = kClients[random(std::size(kClients))];
            if (random(4) == 0) s.settings.FontCell = static_cast<std::uint8_t>(random(3));
            DataWindowResized(s);
            l = h.layout();  // the top goes to a row start and down to the caret; to 0 if the file fits
            m.top -= m.top % l.n;
            m.top += std::max<int64_t>((m.caret - m.top) / l.n - l.rows + 1, 0) * l.n;
            if ((size + l.n - 1) / l.n <= l.rows) m.top = 0;
            if (!readable && m.top / P != before.top / P) {
                // Without the next page the top stays on the held page's last
                // row, and the caret comes up into the screen in its column.
                m.top = m.top / P * P - l.n;
                const int64_t fromTop = m.caret - m.top;
                m.caret = std::min(m.top + std::min(fromTop / l.n, l.rows - 1) * l.n + fromTop % l.n, size - 1);
                return;
            }
            break;
        case Op::Goto: {
            const int64_t choice[] = {random(size), size - 1 - random(std::min<int64_t>(size, 300)),
                                      size - 1 - random(std::min(size, 2 * n)),
                                      random(size / P + 1) * P + random(5) - 2, size + random(3)};
            const int64_t target = std::max<int64_t>(choice[random(5)], 0);
            what += " goto " + std::to_string(target);
            const std::size_t boxes = h.ui.boxes.size();
            GotoAddress(s, static_cast<std::uint32_t>(target), BoxOwner::ActiveDialog);
            if (target >= size) {  // refused with one message (its text is checked with all others)
                EXPECT_TRUE(h.ui.boxes.size() == boxes + 1 && h.ui.boxes.back().title == "Forget it") << what;
            }
            jump(target);
            break;
        }
        case Op::Count: break;
    }
    if (!readable && m.top / P != before.top / P) m = before;
}

// Guards against every fault of the paged view: a caret off the file, a top
// that is not a row start, a grid that shows other bytes than it labels, a
// scroll bar out of step, pages held that do not surround the screen, page
// shifts that lose the caret's byte, and half-done moves when a page shift
// fails because the file has gone (every third stretch of steps).
class ModelBased : public ::testing::TestWithParam<int64_t> {};

TEST_P(ModelBased, RandomMovesAgreeWithTheModel) {
    const int64_t size = GetParam();
    const ClientSize clients[] = {{800, 600}, {300, 40}, {1200, 333}};
    for (std::uint8_t fc = 0; fc < 3 && !HasFatalFailure(); ++fc) {
        const ClientSize client = clients[(size + fc) % 3];
        SCOPED_TRACE("FontCell " + std::to_string(fc) + " client " + std::to_string(client.width) + "x" +
                     std::to_string(client.height));
        Harness h(size, client, fc);
        std::mt19937 rng(static_cast<std::uint32_t>(size * 31 + fc));
        h.check("after open");
        std::string what;
        for (int i = 0; i < 1800 && !HasFatalFailure(); ++i) {
            const int stretch = i / 50;  // the file is gone during every third stretch
            const bool readable = stretch % 3 != 2;
            if (i % 50 == 0 && stretch % 3 != 1 && stretch > 0) h.setReadable(readable);
            // Now and then one kind of move is repeated, so that long runs
            // cross page borders and reach the ends of the file.
            const std::uint32_t burst = rng() % 4 == 0 ? 1 + rng() % 24 : 1, burstSeed = rng();
            for (std::uint32_t b = 0; b < burst && !HasFatalFailure(); ++b) {
                std::mt19937 repeat(burstSeed);
                const std::size_t boxes = h.ui.boxes.size();
                Step(h, burst > 1 ? repeat : rng, readable, what);
                for (std::size_t k = boxes; k < h.ui.boxes.size(); ++k) {  // page loads fail only without the file
                    const std::string& t = h.ui.boxes[k].text;
                    EXPECT_TRUE(t == "Specified address is greater than filesize!" ||
                                (!readable && (t == "Error reading file!" || t.rfind("Error opening file", 0) == 0)))
                        << t;
                }
                h.check(std::to_string(i) + "." + std::to_string(b) + (readable ? " " : " file gone ") + what);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(FileSizes, ModelBased,
                         ::testing::Values(1, 15, 16, 17, 100, P - 1, P, P + 1, 3 * P + 17, 11141120, 11141121,
                                           TwoGiB));

// Guards against a move that changes the caret before its page shift fails:
// at a page border every move that needs another page is tried with the file
// gone, and after a save the user asked for that fails; view, pages and grid
// stay exactly as they were, and once the file is back the move goes through.
TEST(FailedShifts, EveryMoveAcrossABorderIsUndone) {
    const auto capture = [](const EditorState& s) {
        return std::make_tuple(s.pages.PageIndex, s.TopOffset, s.CaretOffset, s.grid.caretRow, s.grid.caretColumn,
                               s.CaretX, s.CaretY, s.CaretPage, s.grid.cells);
    };
    using Move = void (*)(EditorState&);
    const std::pair<bool, Move> moves[] = {  // forward or backward
        {true, MoveRight}, {true, MoveDown}, {true, PageDown}, {true, ScrollLineDown},
        {true, [](EditorState& s) { DataWindowWheel(s, -120); }},
        {false, MoveLeft}, {false, MoveUp}, {false, PageUp}, {false, ScrollLineUp},
        {false, [](EditorState& s) { DataWindowWheel(s, 120); }},
        {false, [](EditorState& s) { DataWindowKeyDown(s, Key::Left, {false, false, true}); }}};
    for (bool viaFailedSave : {false, true}) {
        for (std::size_t i = 0; i < std::size(moves); ++i) {
            SCOPED_TRACE("move " + std::to_string(i) + (viaFailedSave ? " after a failed save" : ""));
            const auto [forward, move] = moves[i];
            Harness h(5 * P, {300, 160});  // 16 per row, 10 rows
            // Forward: the top on page 1's last row and the caret on the screen's last byte.
            GotoAddress(h.s, forward ? 2 * P - 16 : 2 * P, BoxOwner::DataWindow);
            if (forward) PlaceCaretAtClick(h.s, 81 + 15 * 8, 9 * 16);
            if (viaFailedSave) h.s.Modified = 1, h.ui.answers.push_back(BoxAnswer::Yes);
            const auto before = capture(h.s);
            h.setReadable(false);
            move(h.s);
            h.setReadable(true);
            EXPECT_TRUE(capture(h.s) == before);
            EXPECT_FALSE(h.ui.boxes.empty());
            EXPECT_EQ(h.s.Modified, viaFailedSave ? 1 : 0);
            h.ui.answers.push_back(BoxAnswer::No);
            move(h.s);
            EXPECT_NE(h.s.pages.PageIndex, std::get<0>(before));
        }
    }
}

// Guards against a one-row scroll into the file's short last page that puts
// the caret on another byte: the caret keeps its byte, one row higher.
TEST(CaretEdges, LineDownIntoShortLastPageKeepsCaretByte) {
    Harness h(3 * P + 17, {300, 40});  // 16 per row, 2 rows
    GotoAddress(h.s, 3 * P - 14, BoxOwner::DataWindow);
    MoveDown(h.s);
    ScrollLineDown(h.s);
    h.model = {3 * P + 2, 3 * P};
    h.check("line down");
}

// Guards against the text view's scrolls passing its last screen or the
// column range, and against a return to the hex view past the file's end
// from the empty line after a final line feed.
TEST(TextView, ScrollLimitsAndReturnFromTheLastLine) {
    std::string text(P - 190, '-');  // a whole page: the empty last line starts past it
    for (int i = 0; i < 25; ++i) text += "line " + std::to_string(i) + "\n";
    Harness h(0, {300, 160}, 0, text);  // 10 rows, 26 lines
    h.s.TextViewOn = 1;
    BuildLineIndex(h.s);
    for (int i = 0; i < 3; ++i) PageDown(h.s);
    ScrollLineDown(h.s);
    EXPECT_EQ(h.s.lines.TopLine, 20);  // the last line is on the screen already
    ScrollTextLeft(h.s, 1);
    EXPECT_EQ(h.s.lines.LeftColumn, 0);
    ScrollTextRight(h.s, 0x7FFFFFFF);
    ScrollTextRight(h.s, 16);
    EXPECT_EQ(h.s.lines.LeftColumn, 0x7FFFFFFF);
    h.s.lines.TopLine = 25;
    LeaveTextView(h.s);
    h.model = {P - 16, P - 16};
    h.check("back in the hex view");
}

}  // namespace
}  // namespace vop
