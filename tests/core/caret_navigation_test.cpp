// Caret moves and scrolls, checked against a plain model of absolute addresses:
// the model knows only the file size, the caret address and the top address,
// and the program's paged view must agree with it after every step.
#include "view/caret_navigation.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "dialogs/goto_address.h"
#include "document/line_index.h"
#include "document/page_window.h"
#include "support/fake_ui.h"
#include "support/temp_files.h"
#include "view/cell_metrics.h"
#include "view/data_window_input.h"
#include "view/screen_layout.h"

namespace vop {
namespace {

using test::FakeUi;
using test::PatternBytes;
using test::TempDir;

constexpr std::uint64_t TwoGiB = 0x80000000ull;

// The file's bytes as the model sees them: an array for ordinary files, a few
// marker bytes over zeros for the sparse 2 GiB file.
struct FileImage {
    std::uint64_t size = 0;
    std::vector<std::uint8_t> bytes;
    std::map<std::uint64_t, std::uint8_t> markers;
    bool sparse = false;

    std::uint8_t at(std::uint64_t a) const {
        if (!sparse) return bytes[a];
        auto it = markers.find(a);
        return it == markers.end() ? 0 : it->second;
    }
};

std::string MakeFile(const TempDir& dir, std::uint64_t size, FileImage& image) {
    image.size = size;
    if (size < TwoGiB) {
        image.bytes = PatternBytes(static_cast<std::size_t>(size), static_cast<std::uint32_t>(size));
        return dir.write("data.bin", image.bytes);
    }
    image.sparse = true;
    const std::string path = dir.sparse("data.bin", size);
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    std::uint8_t value = 1;
    for (std::uint64_t page : {1ull, 2ull, 3ull, 16384ull, 32767ull}) {
        for (std::int64_t delta = -3; delta <= 3; ++delta) {
            const std::uint64_t a = page * 65536 + delta;
            f.seekp(static_cast<std::streamoff>(a));
            f.put(static_cast<char>(value));
            image.markers[a] = value++;
        }
    }
    f.seekp(static_cast<std::streamoff>(size - 1));
    f.put(static_cast<char>(0xEE));
    image.markers[size - 1] = 0xEE;
    return path;
}

// What the model expects: caret and top as absolute addresses.
struct Model {
    std::uint64_t caret = 0;
    std::uint64_t top = 0;
};

struct Layout {
    std::int64_t n = 16;
    std::int64_t rows = 1;
};

Layout ReferenceLayout(ClientSize c, std::uint8_t fc) {
    Layout l;
    const int cw = fc == 0 ? 8 : fc == 1 ? 16 : 32;
    const int available = c.width - (10 * cw + 2 * (fc == 0 ? 1 : 2 * fc));
    l.n = 16;
    for (int n = 256; n >= 16; n /= 2) {
        if (n * cw <= available) {
            l.n = n;
            break;
        }
    }
    l.rows = c.height < 2 * cw ? 1 : c.height / (2 * cw);
    l.rows = std::min<std::int64_t>(l.rows, 65536 / l.n - 1);
    return l;
}

std::uint64_t TotalRowsOf(std::uint64_t size, std::int64_t n) { return (size + n - 1) / n; }

class Harness {
public:
    Harness(std::uint64_t size, ClientSize client, std::uint8_t fontCell) {
        path_ = MakeFile(dir_, size, image_);
        ui_.client = client;
        s_.ui = &ui_;
        s_.settings.FontCell = fontCell;
        s_.settings.BlockCaret = 1;
        EXPECT_TRUE(OpenDocument(s_, path_, 0));
    }

    EditorState& s() { return s_; }
    FakeUi& ui() { return ui_; }
    const FileImage& image() const { return image_; }
    Model& model() { return model_; }
    Layout layout() const { return ReferenceLayout(ui_.client, s_.settings.FontCell); }

    void makeUnreadable() { std::filesystem::rename(path_, path_ + ".away"); }
    void makeReadable() { std::filesystem::rename(path_ + ".away", path_); }

    // Every property of a consistent view, against the model.
    void check(const std::string& what) {
        SCOPED_TRACE(what);
        const Layout l = layout();
        const std::int64_t n = l.n;
        const std::uint64_t size = image_.size;
        ASSERT_TRUE(s_.documentOpen());
        ASSERT_EQ(s_.pages.FileSize, size);

        // At most three pages, each a whole page or the file's last.
        const PageWindow& w = s_.pages;
        for (const PageBuffer* p : {&w.PrevPage, &w.CurrentPage, &w.NextPage}) {
            if (p->present()) {
                ASSERT_TRUE(p->Length >= 1 && p->Length <= 65536);
            }
        }
        ASSERT_EQ(w.PrevPage.present(), w.PageIndex > 0);
        const std::uint64_t pageStart = static_cast<std::uint64_t>(w.PageIndex) * 65536;
        ASSERT_EQ(w.CurrentPage.Length, std::min<std::uint64_t>(65536, size - pageStart));
        ASSERT_EQ(w.NextPage.present(), size > pageStart + 65536);
        for (std::uint64_t k : {0ull, 1ull, 65533ull, 65534ull, 65535ull}) {
            if (k < w.CurrentPage.Length) {
                ASSERT_EQ(w.CurrentPage.Bytes[k], image_.at(pageStart + k)) << k;
            }
        }

        // The caret is on a byte of the file, where the model says.
        ASSERT_NE(s_.CaretPage, PageSlot::None);
        ASSERT_EQ(s_.ScreenPage, PageSlot::Current);
        ASSERT_GE(s_.CaretOffset, 0);
        ASSERT_LT(static_cast<std::uint32_t>(s_.CaretOffset), s_.slotLength(s_.CaretPage));
        ASSERT_LT(CaretAddress(s_), size);
        ASSERT_EQ(CaretAddress(s_), model_.caret);
        ASSERT_EQ(pageStart + static_cast<std::uint64_t>(s_.TopOffset), model_.top);

        // The top row is whole and in the current page; the caret's cell fits.
        ASSERT_EQ(s_.TopOffset % n, 0);
        ASSERT_GE(s_.TopOffset, 0);
        ASSERT_LT(static_cast<std::uint32_t>(s_.TopOffset), w.CurrentPage.Length);
        const ScreenGrid& g = s_.grid;
        ASSERT_GE(g.caretRow, 0);
        ASSERT_LT(g.caretRow, l.rows);
        ASSERT_GE(g.caretColumn, 0);
        ASSERT_LT(g.caretColumn, n);
        const std::int64_t fromCurrent = s_.CaretOffset + (s_.CaretPage == PageSlot::Next ? 65536 : 0);
        ASSERT_EQ(fromCurrent, s_.TopOffset + g.caretRow * n + g.caretColumn);
        const int cw = CellWidth(s_.settings.FontCell);
        ASSERT_EQ(s_.CaretX, (g.caretColumn + 10) * cw);
        ASSERT_EQ(s_.CaretY, g.caretRow * 2 * cw);

        // The grid shows exactly the file's bytes at the addresses it labels.
        ASSERT_EQ(g.columns, n + 10);
        ASSERT_EQ(g.rows, l.rows);
        for (int r = 0; r < g.rows; ++r) {
            const std::uint64_t rowAddress = model_.top + static_cast<std::uint64_t>(r) * n;
            if (rowAddress >= size) {
                for (int c = 0; c < g.columns; ++c) ASSERT_EQ(g.at(r, c), 0x20) << r << "," << c;
                continue;
            }
            char label[16];
            for (int c = 0; c < 8; ++c) label[c] = static_cast<char>(g.at(r, c));
            label[8] = 0;
            ASSERT_EQ(std::strtoull(label, nullptr, 16), rowAddress) << label;
            ASSERT_EQ(g.at(r, 8), ':');
            ASSERT_EQ(g.at(r, 9), ' ');
            for (int k = 0; k < n; ++k) {
                const std::uint64_t a = rowAddress + k;
                ASSERT_EQ(g.at(r, 10 + k), a < size ? image_.at(a) : 0x20) << "row " << r << " byte " << k;
            }
        }
        const std::uint64_t shown = std::min<std::uint64_t>(size - model_.top, l.rows * n);
        const std::int64_t filled = shown == static_cast<std::uint64_t>(l.rows * n)
                                        ? g.columns * g.rows
                                        : static_cast<std::int64_t>((shown - 1) / n) * g.columns + 10 +
                                              static_cast<std::int64_t>((shown - 1) % n) + 1;
        ASSERT_EQ(g.filledCells, filled);

        // The scroll position is the top row's number.
        SyncScrollPosition(s_);
        ASSERT_EQ(static_cast<std::uint64_t>(ui_.scrollPos), model_.top / n);
        // The system caret sits at the block shape's place.
        PlaceCaret(s_);
        ASSERT_EQ(ui_.caretX, s_.CaretX + CellInset(s_.settings.FontCell));
        ASSERT_EQ(ui_.caretY, s_.CaretY);
    }

private:
    TempDir dir_;
    std::string path_;
    FileImage image_;
    FakeUi ui_;
    EditorState s_;
    Model model_;
};

// ---- The reference model of every movement ----

void ModelKeepOnScreen(Model& m, const Layout& l) {
    if (m.caret >= m.top + l.rows * l.n) m.top += l.n;
    if (m.caret < m.top) m.top -= l.n;
}

void ModelGoto(Model& m, const Layout& l, std::uint64_t size, std::uint64_t address) {
    if (address >= size) return;
    m.caret = address;
    m.top = TotalRowsOf(size, l.n) <= static_cast<std::uint64_t>(l.rows) ? 0 : address - address % l.n;
}

void ModelRelayout(Model& m, const Layout& l, std::uint64_t size) {
    m.top -= m.top % l.n;
    const std::uint64_t d = m.caret - m.top;
    if (d / l.n >= static_cast<std::uint64_t>(l.rows)) m.top += (d / l.n - l.rows + 1) * l.n;
    if (TotalRowsOf(size, l.n) <= static_cast<std::uint64_t>(l.rows)) m.top = 0;
}

enum class Op {
    Right, Left, Down, Up, RowStart, RowEnd, PageDown, PageUp, LineDown, LineUp,
    Click, Wheel, ThumbTrack, ThumbRelease, Resize, Goto, Count
};

const ClientSize kClients[] = {{800, 600}, {300, 40}, {2200, 900}, {100, 15}, {1200, 333}, {594, 1}, {4300, 2000}};

// Applies one random operation to the program and to the model.
// `readable` false means the file has gone: any move that needs another page
// must leave the view exactly as it was.
void Step(Harness& h, std::mt19937& rng, bool readable, std::string& what) {
    EditorState& s = h.s();
    Model& m = h.model();
    const Model before = m;
    const std::uint64_t size = h.image().size;
    Layout l = h.layout();
    const std::uint64_t screen = l.rows * l.n;
    const Op op = static_cast<Op>(rng() % static_cast<unsigned>(Op::Count));
    char text[96];
    std::snprintf(text, sizeof text, "op %d caret %llu top %llu", static_cast<int>(op),
                  static_cast<unsigned long long>(m.caret), static_cast<unsigned long long>(m.top));
    what = text;
    const bool erase = rng() % 2;

    switch (op) {
        case Op::Right:
            MoveRight(s, erase);
            if (m.caret + 1 < size) ++m.caret;
            ModelKeepOnScreen(m, l);
            break;
        case Op::Left:
            MoveLeft(s, erase);
            if (m.caret > 0) --m.caret;
            ModelKeepOnScreen(m, l);
            break;
        case Op::Down:
            MoveDown(s, erase);
            if (m.caret + l.n < size) m.caret += l.n;
            ModelKeepOnScreen(m, l);
            break;
        case Op::Up:
            MoveUp(s, erase);
            if (m.caret >= static_cast<std::uint64_t>(l.n)) m.caret -= l.n;
            ModelKeepOnScreen(m, l);
            break;
        case Op::RowStart:
            MoveRowStart(s);
            m.caret -= m.caret % l.n;
            break;
        case Op::RowEnd:
            MoveRowEnd(s);
            m.caret = std::min(m.caret - m.caret % l.n + l.n - 1, size - 1);
            break;
        case Op::PageDown:
            PageDown(s, erase);
            if (m.top + screen < size) {
                m.top += screen;
                m.caret = std::min(m.caret + screen, size - 1);
            }
            break;
        case Op::PageUp:
            PageUp(s, erase);
            if (m.top == 0) break;
            if (m.top < screen && m.top < 65536) {
                m.caret -= m.top;
                m.top = 0;
            } else {
                m.top -= screen;
                m.caret -= screen;
            }
            break;
        case Op::LineDown:
        case Op::LineUp:
        case Op::Wheel: {
            bool up = op == Op::LineUp;
            if (op == Op::Wheel) {
                // One row per message, whatever the distance.
                const int notches = static_cast<int>(1 + rng() % 3);
                up = rng() % 2;
                DataWindowWheel(s, (up ? 120 : -120) * notches);
            } else if (up) {
                ScrollLineUp(s, erase);
            } else {
                ScrollLineDown(s, erase);
            }
            if (up) {
                if (m.top >= static_cast<std::uint64_t>(l.n)) {
                    m.top -= l.n;
                    if (m.caret >= m.top + screen) m.caret -= l.n;
                }
            } else if (m.top / l.n + l.rows < TotalRowsOf(size, l.n)) {
                m.top += l.n;
                if (m.caret < m.top) m.caret = std::min(m.caret + l.n, size - 1);
            }
            break;
        }
        case Op::Click: {
            const int cw = CellWidth(s.settings.FontCell);
            const int x = static_cast<int>(rng() % static_cast<unsigned>((l.n + 12) * cw)) - cw;
            const int y = static_cast<int>(rng() % static_cast<unsigned>((l.rows + 2) * 2 * cw)) - cw;
            std::snprintf(text, sizeof text, " click %d,%d", x, y);
            what += text;
            const bool accepted = PlaceCaretAtClick(s, x, y);
            const int inset = CellInset(s.settings.FontCell);
            bool expect = false;
            if (x >= 10 * cw + inset && x < (l.n + 10) * cw + inset && y >= 0 && y < l.rows * 2 * cw) {
                const std::uint64_t o = m.top + ((y / (2 * cw)) * l.n) + (x - 10 * cw - inset) / cw;
                if (o < size) {
                    m.caret = o;
                    expect = true;
                }
            }
            EXPECT_EQ(accepted, expect) << what;
            break;
        }
        case Op::ThumbTrack:
        case Op::ThumbRelease: {
            const std::int64_t range = static_cast<std::int64_t>(TotalRowsOf(size, l.n)) - l.rows;
            const std::int32_t pos = range > 0 ? static_cast<std::int32_t>(rng() % (range + 1)) : 0;
            const bool release = op == Op::ThumbRelease;
            DataWindowScroll(s, release ? ScrollRequest::ThumbPosition : ScrollRequest::ThumbTrack, pos);
            if (release || size < 11141121) ModelGoto(m, l, size, static_cast<std::uint64_t>(pos) * l.n);
            break;
        }
        case Op::Resize: {
            if (!readable) break;  // a relayout that needs a page falls back differently
            h.ui().client = kClients[rng() % (sizeof kClients / sizeof kClients[0])];
            if (rng() % 4 == 0) s.settings.FontCell = static_cast<std::uint8_t>(rng() % 3);
            DataWindowResized(s);
            l = h.layout();
            ModelRelayout(m, l, size);
            break;
        }
        case Op::Goto: {
            std::uint64_t target;
            switch (rng() % 4) {
                case 0: target = rng() % size; break;
                case 1: target = size - 1 - rng() % std::min<std::uint64_t>(size, 300); break;
                case 2: target = (rng() % (size / 65536 + 1)) * 65536 + rng() % 5 - 2; break;
                default: target = size + rng() % 3; break;
            }
            if (target >= size + 3) target = 0;  // wrapped below zero
            std::snprintf(text, sizeof text, " goto %llu", static_cast<unsigned long long>(target));
            what += text;
            const std::size_t boxes = h.ui().boxes.size();
            GotoAddress(s, static_cast<std::uint32_t>(target), BoxOwner::ActiveDialog, erase);
            if (target >= size) {
                ASSERT_EQ(h.ui().boxes.size(), boxes + 1);
                EXPECT_EQ(h.ui().boxes.back().text, "Specified address is greater than filesize!");
                EXPECT_EQ(h.ui().boxes.back().title, "Forget it");
            }
            ModelGoto(m, l, size, target);
            break;
        }
        case Op::Count: break;
    }
    // With the file gone, whatever needed another page did not happen.
    if (!readable && m.top / 65536 != before.top / 65536) m = before;
}

struct Scenario {
    std::uint64_t size;
    ClientSize client;
    std::uint8_t fontCell;
};

void RunScenario(const Scenario& sc, int steps, std::uint32_t seed) {
    Harness h(sc.size, sc.client, sc.fontCell);
    std::mt19937 rng(seed);
    h.check("after open");
    if (::testing::Test::HasFatalFailure()) return;
    std::string what;
    for (int i = 0; i < steps; ++i) {
        // Now and then the same kind of move is repeated, so that long runs
        // cross page borders and reach the ends of the file.
        const std::uint32_t burst = rng() % 4 == 0 ? 1 + rng() % 24 : 1;
        const std::uint32_t burstSeed = rng();
        for (std::uint32_t b = 0; b < burst; ++b) {
            std::mt19937 opRng(burstSeed);
            std::mt19937& use = burst > 1 ? opRng : rng;
            Step(h, use, true, what);
            h.check("step " + std::to_string(i) + "." + std::to_string(b) + ": " + what);
            if (::testing::Test::HasFatalFailure()) return;
        }
    }
}

// Guards against every fault of the paged view: a caret off the file, a top
// that is not a row start, a grid that shows other bytes than it labels, a
// scroll position out of step, more pages held than three, and page shifts
// that lose the caret's byte, over files around every page border.
class ModelBased : public ::testing::TestWithParam<std::uint64_t> {};

TEST_P(ModelBased, RandomMovesAgreeWithTheModel) {
    const std::uint64_t size = GetParam();
    const bool huge = size >= TwoGiB;
    std::uint32_t seed = static_cast<std::uint32_t>(size) * 31u + 7u;
    for (std::uint8_t fc = 0; fc < 3; ++fc) {
        for (ClientSize client : {ClientSize{800, 600}, ClientSize{300, 40}, ClientSize{1200, 333}}) {
            SCOPED_TRACE("FontCell " + std::to_string(fc) + " client " + std::to_string(client.width) + "x" +
                         std::to_string(client.height));
            RunScenario({size, client, fc}, huge ? 1500 : 2000, seed++);
            if (HasFatalFailure()) return;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(FileSizes, ModelBased,
                         ::testing::Values(1ull, 15ull, 16ull, 17ull, 100ull, 65535ull, 65536ull, 65537ull,
                                           3ull * 65536 + 17, TwoGiB));

// Guards against a failed page shift leaving the caret or the top half-moved:
// while the file is gone every move that needs another page changes nothing,
// and moves within the held pages go on working.
class FailedShifts : public ::testing::TestWithParam<std::uint64_t> {};

TEST_P(FailedShifts, PositionUnchangedWhileFileIsGone) {
    const std::uint64_t size = GetParam();
    Harness h(size, {800, 600}, 0);
    std::mt19937 rng(static_cast<std::uint32_t>(size));
    std::string what;
    for (int round = 0; round < 6; ++round) {
        for (int i = 0; i < 300; ++i) {
            Step(h, rng, true, what);
            h.check("readable " + what);
            if (HasFatalFailure()) return;
        }
        h.makeUnreadable();
        const std::size_t boxesBefore = h.ui().boxes.size();
        for (int i = 0; i < 300; ++i) {
            Step(h, rng, false, what);
            h.check("unreadable " + what);
            if (HasFatalFailure()) {
                h.makeReadable();
                return;
            }
        }
        // A failed shift or reload was reported, never silent.
        for (std::size_t b = boxesBefore; b < h.ui().boxes.size(); ++b) {
            const std::string& t = h.ui().boxes[b].text;
            EXPECT_TRUE(t == "Error reading file!" || t == "Error opening file!" ||
                        t.rfind("Error opening file: ", 0) == 0 || t == "Specified address is greater than filesize!")
                << t;
        }
        h.makeReadable();
    }
}

INSTANTIATE_TEST_SUITE_P(FileSizes, FailedShifts, ::testing::Values(3ull * 65536 + 17, 10ull * 65536, TwoGiB));

// Guards against moves that change the caret before their page shift fails:
// at each page border, every move that needs another page is tried with the
// file gone, and with a save the user asked for that fails; the view, the
// pages and the grid must stay exactly as they were.
struct ViewState {
    std::uint32_t page;
    std::int32_t top, caretOffset, row, column, x, y;
    PageSlot caretPage;
    std::vector<std::uint8_t> cells;
    bool operator==(const ViewState& o) const {
        return page == o.page && top == o.top && caretOffset == o.caretOffset && row == o.row &&
               column == o.column && x == o.x && y == o.y && caretPage == o.caretPage && cells == o.cells;
    }
};

ViewState Capture(const EditorState& s) {
    return {s.pages.PageIndex, s.TopOffset, s.CaretOffset, s.grid.caretRow, s.grid.caretColumn,
            s.CaretX,          s.CaretY,    s.CaretPage,   s.grid.cells};
}

TEST(FailedShifts, EveryMoveAcrossABorderIsUndone) {
    using Move = void (*)(EditorState&);
    const std::pair<const char*, Move> forward[] = {
        {"right", [](EditorState& s) { MoveRight(s, false); }},
        {"down", [](EditorState& s) { MoveDown(s, false); }},
        {"page down", [](EditorState& s) { PageDown(s, false); }},
        {"line down", [](EditorState& s) { ScrollLineDown(s, false); }},
        {"wheel down", [](EditorState& s) { DataWindowWheel(s, -120); }},
    };
    const std::pair<const char*, Move> backward[] = {
        {"left", [](EditorState& s) { MoveLeft(s, false); }},
        {"up", [](EditorState& s) { MoveUp(s, false); }},
        {"page up", [](EditorState& s) { PageUp(s, false); }},
        {"line up", [](EditorState& s) { ScrollLineUp(s, false); }},
        {"wheel up", [](EditorState& s) { DataWindowWheel(s, 120); }},
        {"scroll lock left", [](EditorState& s) { DataWindowKeyDown(s, Key::Left, {false, false, true}); }},
    };
    for (bool viaFailedSave : {false, true}) {
        for (int direction = 0; direction < 2; ++direction) {
            const auto& moves = direction == 0 ? forward : backward;
            const std::size_t count = direction == 0 ? std::size(forward) : std::size(backward);
            for (std::size_t i = 0; i < count; ++i) {
                SCOPED_TRACE(std::string(moves[i].first) + (viaFailedSave ? " after a failed save" : ""));
                Harness h(5 * 65536, {300, 160}, 0);  // 16 per row, 10 rows
                EditorState& s = h.s();
                if (direction == 0) {
                    // Top on the last row of page 1, caret on the screen's last byte.
                    GotoAddress(s, 2 * 65536 - 16, BoxOwner::DataWindow, false);
                    for (int r = 0; r < 9; ++r) MoveDown(s, false);
                    MoveRowEnd(s);
                } else {
                    GotoAddress(s, 2 * 65536, BoxOwner::DataWindow, false);
                }
                if (viaFailedSave) {
                    s.Modified = 1;
                    h.ui().answers.push_back(BoxAnswer::Yes);
                }
                const ViewState before = Capture(s);
                h.makeUnreadable();
                moves[i].second(s);
                h.makeReadable();
                EXPECT_TRUE(Capture(s) == before);
                EXPECT_FALSE(h.ui().boxes.empty());
                if (viaFailedSave) {
                    EXPECT_EQ(s.Modified, 1);
                }
                // Once the file is back, the same move goes through.
                h.ui().answers.push_back(BoxAnswer::No);
                moves[i].second(s);
                EXPECT_NE(s.pages.PageIndex, before.page);
            }
        }
    }
}

// ---- Edge cases of single moves ----

struct Small {
    TempDir dir;
    FakeUi ui;
    EditorState s;
    std::vector<std::uint8_t> bytes;
    Small(std::size_t size, ClientSize client, std::uint32_t page = 0) {
        ui.client = client;
        s.ui = &ui;
        bytes = PatternBytes(size, 11);
        EXPECT_TRUE(OpenDocument(s, dir.write("f.bin", bytes), page));
    }
};

// Guards against moving off the file at either end.
TEST(CaretEdges, NoMoveAtFirstAndLastByte) {
    Small f(100, {300, 600});
    MoveLeft(f.s, false);
    MoveUp(f.s, false);
    EXPECT_EQ(CaretAddress(f.s), 0u);
    GotoAddress(f.s, 99, BoxOwner::DataWindow, false);
    MoveRight(f.s, false);
    MoveDown(f.s, false);
    EXPECT_EQ(CaretAddress(f.s), 99u);
}

// Guards against losing the caret at the border between the current and the next page.
TEST(CaretEdges, RightFromLastByteOfFullPage) {
    Small f(3 * 65536, {300, 160});  // 16 per row, 10 rows
    f.s.TopOffset = 65536 - 16 * 10;
    f.s.CaretOffset = 65535;
    f.s.grid.caretRow = 9;
    f.s.grid.caretColumn = 15;
    FillScreenGrid(f.s);
    MoveRight(f.s, false);
    EXPECT_EQ(f.s.CaretPage, PageSlot::Next);
    EXPECT_EQ(f.s.CaretOffset, 0);
    EXPECT_EQ(f.s.TopOffset, 65536 - 16 * 9);
    EXPECT_EQ(f.s.pages.PageIndex, 0u);

    f.s.TopOffset = 65536 - 16 * 5;
    f.s.CaretPage = PageSlot::Current;
    f.s.CaretOffset = 65535;
    f.s.grid.caretRow = 4;
    f.s.grid.caretColumn = 15;
    MoveRight(f.s, false);
    EXPECT_EQ(f.s.CaretPage, PageSlot::Next);
    EXPECT_EQ(f.s.grid.caretRow, 5);
    EXPECT_EQ(f.s.TopOffset, 65536 - 16 * 5);  // still on the screen: no scroll
}

TEST(CaretEdges, DownFromLastRowAtPageEndShiftsOnePage) {
    Small f(3 * 65536, {300, 160});
    f.s.TopOffset = 65536 - 16;
    f.s.CaretPage = PageSlot::Next;
    f.s.CaretOffset = 16 * 8 + 3;
    f.s.grid.caretRow = 9;
    f.s.grid.caretColumn = 3;
    MoveDown(f.s, false);
    EXPECT_EQ(f.s.pages.PageIndex, 1u);
    EXPECT_EQ(f.s.TopOffset, 0);
    EXPECT_EQ(f.s.grid.caretRow, 9);
    EXPECT_EQ(CaretAddress(f.s), 65536u + 16 * 9 + 3);
}

TEST(CaretEdges, UpFromTopRowAtPageStartShiftsBack) {
    Small f(3 * 65536, {300, 160}, 1);
    f.s.grid.caretColumn = 5;
    f.s.CaretOffset = 5;
    MoveUp(f.s, false);
    EXPECT_EQ(f.s.pages.PageIndex, 0u);
    EXPECT_EQ(f.s.TopOffset, 65536 - 16);
    EXPECT_EQ(CaretAddress(f.s), 65536u - 16 + 5);
}

// Guards against moving down into the hole after a short last row.
TEST(CaretEdges, DownRefusedBelowShortLastRow) {
    Small f(100, {300, 600});
    GotoAddress(f.s, 90, BoxOwner::DataWindow, false);
    MoveDown(f.s, false);
    EXPECT_EQ(CaretAddress(f.s), 90u);
    GotoAddress(f.s, 83, BoxOwner::DataWindow, false);
    MoveDown(f.s, false);
    EXPECT_EQ(CaretAddress(f.s), 99u);
}

TEST(CaretEdges, RowEndOnShortLastRowStopsOnLastByte) {
    Small f(100, {300, 600});
    GotoAddress(f.s, 97, BoxOwner::DataWindow, false);
    MoveRowEnd(f.s);
    EXPECT_EQ(CaretAddress(f.s), 99u);
    EXPECT_EQ(f.s.grid.caretColumn, 3);
    MoveRowStart(f.s);
    EXPECT_EQ(CaretAddress(f.s), 96u);
}

TEST(CaretEdges, PageDownNearEndStopsOnLastByte) {
    Small f(300, {300, 160});  // 16 per row, 10 rows: 160 bytes a screen
    GotoAddress(f.s, 50, BoxOwner::DataWindow, false);  // top 48, row 0
    for (int i = 0; i < 9; ++i) MoveDown(f.s, false);   // row 9, address 194
    PageDown(f.s, false);
    EXPECT_EQ(f.s.TopOffset, 48 + 160);
    EXPECT_EQ(CaretAddress(f.s), 299u);
    EXPECT_EQ(f.s.grid.caretRow, 5);
    EXPECT_EQ(f.s.grid.caretColumn, 11);
    PageDown(f.s, false);  // the new top would lie past the end
    EXPECT_EQ(f.s.TopOffset, 48 + 160);
}

TEST(CaretEdges, PageUpInFirstPageGoesToTop) {
    Small f(1000, {300, 160});
    GotoAddress(f.s, 100, BoxOwner::DataWindow, false);  // top 96
    MoveDown(f.s, false);                                 // row 1
    PageUp(f.s, false);
    EXPECT_EQ(f.s.TopOffset, 0);
    EXPECT_EQ(f.s.grid.caretRow, 1);
    EXPECT_EQ(CaretAddress(f.s), 20u);
}

// Guards against a one-row scroll that crosses into the file's short last
// page and takes the caret off its byte: the caret keeps its byte, one row up.
TEST(CaretEdges, LineDownIntoShortLastPageKeepsCaretByte) {
    Small f(3 * 65536 + 17, {300, 40});  // 16 per row, 2 rows
    GotoAddress(f.s, 3 * 65536 - 16, BoxOwner::DataWindow, false);
    MoveDown(f.s, false);
    MoveRight(f.s, false);
    MoveRight(f.s, false);
    ASSERT_EQ(CaretAddress(f.s), 3u * 65536 + 2);
    ScrollLineDown(f.s, false);
    EXPECT_EQ(f.s.pages.PageIndex, 3u);
    EXPECT_EQ(f.s.TopOffset, 0);
    EXPECT_EQ(CaretAddress(f.s), 3u * 65536 + 2);
    EXPECT_EQ(f.s.grid.caretRow, 0);
    EXPECT_EQ(f.s.grid.caretColumn, 2);
}

// Guards against clicks on cells that hold no byte.
TEST(CaretEdges, ClicksOutsideTheBytesAreIgnored) {
    Small f(100, {300, 600});
    EXPECT_FALSE(PlaceCaretAtClick(f.s, 80, 0));        // address column
    EXPECT_TRUE(PlaceCaretAtClick(f.s, 81, 0));
    EXPECT_FALSE(PlaceCaretAtClick(f.s, 26 * 8 + 1, 0));  // right of the last cell
    EXPECT_TRUE(PlaceCaretAtClick(f.s, 26 * 8, 0));
    EXPECT_EQ(CaretAddress(f.s), 15u);
    EXPECT_FALSE(PlaceCaretAtClick(f.s, 81 + 4 * 8, 6 * 16));  // past the end of the file
    EXPECT_TRUE(PlaceCaretAtClick(f.s, 81 + 3 * 8, 6 * 16));
    EXPECT_EQ(CaretAddress(f.s), 99u);
    EXPECT_FALSE(PlaceCaretAtClick(f.s, 81, 37 * 16));  // below the last row
    EXPECT_FALSE(PlaceCaretAtClick(f.s, 81, -1));
    EXPECT_EQ(f.ui.statusText[0], "00000063h");
}

// Guards against the caret shape positions.
TEST(PlaceCaret, BlockAndUnderline) {
    Small f(100, {300, 600});
    f.s.settings.BlockCaret = 1;
    PlaceCaret(f.s);
    EXPECT_EQ(f.ui.caretX, 81);
    EXPECT_EQ(f.ui.caretY, 0);
    f.s.settings.BlockCaret = 0;
    PlaceCaret(f.s);
    EXPECT_EQ(f.ui.caretX, 81);
    EXPECT_EQ(f.ui.caretY, 14);
    f.s.settings.FontCell = 2;
    f.s.CaretX = 10 * 32;
    PlaceCaret(f.s);
    EXPECT_EQ(f.ui.caretX, 324);
    EXPECT_EQ(f.ui.caretY, 56);
}

// Guards against a wrapped scroll position or range for the largest files.
TEST(ScrollBar, PositionAndRangeFormula) {
    TempDir dir;
    FakeUi ui;
    ui.client = {300, 160};
    EditorState s;
    s.ui = &ui;
    ASSERT_TRUE(OpenDocument(s, dir.sparse("big.bin", TwoGiB), 0));
    EXPECT_EQ(ui.scrollMax, 134217728 - 10);
    EXPECT_TRUE(ui.scrollArrowsEnabled);
    GotoAddress(s, 0x00123450, BoxOwner::DataWindow, false);
    EXPECT_EQ(ui.scrollPos, 0x12345);
    GotoAddress(s, 0x7FFFFFFF, BoxOwner::DataWindow, false);
    EXPECT_EQ(ui.scrollPos, 134217727);
    EXPECT_EQ(CaretAddress(s), 0x7FFFFFFFu);
    EXPECT_EQ(ui.thumbHeight, 5);
}

TEST(ScrollBar, DisabledWhenFileFitsAndTopReset) {
    Small f(100, {300, 600});
    EXPECT_FALSE(f.ui.scrollArrowsEnabled);
    f.ui.client = {300, 40};  // 2 rows
    GotoAddress(f.s, 70, BoxOwner::DataWindow, false);
    EXPECT_EQ(f.s.TopOffset, 64);
    f.ui.client = {300, 600};
    DataWindowResized(f.s);
    EXPECT_EQ(f.s.TopOffset, 0);
    EXPECT_EQ(f.s.grid.caretRow, 4);
    EXPECT_EQ(CaretAddress(f.s), 70u);
}

// Guards against the thumb limit being off by one.
TEST(ScrollBar, ThumbFollowsBelowLimitJumpsOnReleaseAbove) {
    for (std::uint64_t size : {11141120ull, 11141121ull}) {
        TempDir dir;
        FakeUi ui;
        ui.client = {300, 160};
        EditorState s;
        s.ui = &ui;
        ASSERT_TRUE(OpenDocument(s, dir.sparse("t.bin", size), 0));
        ScrollToThumb(s, ThumbKind::Tracking, 5000);
        EXPECT_EQ(CaretAddress(s), size == 11141120 ? 80000u : 0u) << size;
        ScrollToThumb(s, ThumbKind::Released, 6000);
        EXPECT_EQ(CaretAddress(s), 96000u) << size;
    }
}

// Guards against a relayout that moves the caret off its byte or misaligns the top.
TEST(Relayout, NarrowingKeepsTheCaretByte) {
    Small f(5 * 65536, {700, 160});  // 64 per row
    ASSERT_EQ(BytesPerRow(f.s), 64);
    GotoAddress(f.s, 65536 + 64 * 3 + 17, BoxOwner::DataWindow, false);
    for (int i = 0; i < 9; ++i) MoveDown(f.s, false);
    const std::uint32_t caret = CaretAddress(f.s);
    f.ui.client = {400, 160};  // 32 per row
    DataWindowResized(f.s);
    EXPECT_EQ(CaretAddress(f.s), caret);
    EXPECT_EQ(f.s.TopOffset % 32, 0);
    EXPECT_EQ(f.s.grid.caretRow, 9);
}

TEST(Relayout, ShrinkingIntoTheNextPageShifts) {
    Small f(5 * 65536, {300, 640});  // 16 per row, 40 rows
    f.s.TopOffset = 65536 - 16 * 4;
    f.s.CaretPage = PageSlot::Next;
    f.s.CaretOffset = 16 * 30 + 2;
    f.s.grid.caretRow = 34;
    f.s.grid.caretColumn = 2;
    f.ui.client = {300, 160};  // 10 rows
    DataWindowResized(f.s);
    EXPECT_EQ(f.s.pages.PageIndex, 1u);
    EXPECT_EQ(CaretAddress(f.s), 65536u + 16 * 30 + 2);
    EXPECT_EQ(f.s.grid.caretRow, 9);
    EXPECT_EQ(f.s.TopOffset, 16 * 21);
}

// Guards against a relayout whose page shift fails leaving the caret below
// the screen: the top stays in the held page and the caret comes up into view.
TEST(Relayout, FailedShiftKeepsTheCaretOnScreen) {
    Small f(5 * 65536, {300, 640});  // 16 per row, 40 rows
    f.s.TopOffset = 65536 - 16 * 4;
    f.s.CaretPage = PageSlot::Next;
    f.s.CaretOffset = 16 * 30 + 2;
    f.s.grid.caretRow = 34;
    f.s.grid.caretColumn = 2;
    const std::string path = f.dir.file("f.bin");
    std::filesystem::rename(path, path + ".away");
    f.ui.client = {300, 160};  // 10 rows
    DataWindowResized(f.s);
    std::filesystem::rename(path + ".away", path);
    EXPECT_EQ(f.s.pages.PageIndex, 0u);
    EXPECT_EQ(f.s.TopOffset, 65536 - 16);
    EXPECT_EQ(f.s.grid.caretRow, 9);
    EXPECT_EQ(f.s.grid.caretColumn, 2);
    EXPECT_EQ(CaretAddress(f.s), 65536u - 16 + 16 * 9 + 2);
    EXPECT_EQ(f.ui.lastBoxText(), "Error reading file!");
    EXPECT_EQ(f.s.grid.at(9, 12), f.bytes[CaretAddress(f.s)]);
}

// Guards against refusing, or misplacing the caret on, a page-down that
// starts with the caret already in the next page.
TEST(CaretEdges, PageDownWithCaretInNextPage) {
    Small f(5 * 65536, {300, 160});
    f.s.TopOffset = 65536 - 16 * 4;
    f.s.CaretPage = PageSlot::Next;
    f.s.CaretOffset = 16 * 2 + 1;
    f.s.grid.caretRow = 6;
    f.s.grid.caretColumn = 1;
    PageDown(f.s, false);
    EXPECT_EQ(f.s.pages.PageIndex, 1u);
    EXPECT_EQ(f.s.TopOffset, 96);
    EXPECT_EQ(f.s.grid.caretRow, 6);
    EXPECT_EQ(f.s.grid.caretColumn, 1);
    EXPECT_EQ(CaretAddress(f.s), 65536u + 96 + 16 * 6 + 1);
}

// Guards against the text view's scrolls leaving the lines.
TEST(TextView, LineAndPageScrolls) {
    TempDir dir;
    FakeUi ui;
    ui.client = {300, 160};  // 10 rows
    EditorState s;
    s.ui = &ui;
    std::string text;
    for (int i = 0; i < 25; ++i) text += "line " + std::to_string(i) + "\n";
    ASSERT_TRUE(OpenDocument(s, dir.write("t.txt", std::vector<std::uint8_t>(text.begin(), text.end())), 0));
    s.TextViewOn = 1;
    BuildLineIndex(s);
    ASSERT_EQ(s.lines.LineCount, 26);
    PageDown(s, false);
    EXPECT_EQ(s.lines.TopLine, 10);
    PageDown(s, false);
    EXPECT_EQ(s.lines.TopLine, 20);
    PageDown(s, false);  // 30 would pass the last line
    EXPECT_EQ(s.lines.TopLine, 20);
    ScrollLineDown(s, false);
    EXPECT_EQ(s.lines.TopLine, 20);  // line 25 is already within the screen
    ScrollLineUp(s, false);
    EXPECT_EQ(s.lines.TopLine, 19);
    PageUp(s, false);
    PageUp(s, false);
    EXPECT_EQ(s.lines.TopLine, 0);
    ScrollTextLeft(s, 1);
    EXPECT_EQ(s.lines.LeftColumn, 0);
    ScrollTextRight(s, 16);
    ScrollTextLeft(s, 20);
    EXPECT_EQ(s.lines.LeftColumn, 0);
    ScrollTextRight(s, 0x7FFFFFFF);
    ScrollTextRight(s, 16);
    EXPECT_EQ(s.lines.LeftColumn, 0x7FFFFFFF);
    ScrollToThumb(s, ThumbKind::Tracking, 7);
    EXPECT_EQ(s.lines.TopLine, 7);
    SyncScrollPosition(s);
    EXPECT_EQ(ui.scrollPos, 7);
}

// Guards against returning to a wrong offset from the text view.
TEST(TextView, ReturnToHexViewAtTopLineStart) {
    TempDir dir;
    FakeUi ui;
    ui.client = {300, 160};
    EditorState s;
    s.ui = &ui;
    std::vector<std::uint8_t> bytes(10, 'a');
    bytes.push_back('\n');
    bytes.push_back('\n');
    for (int i = 0; i < 5; ++i) bytes.push_back('b');
    bytes.push_back('\n');
    for (int i = 0; i < 500; ++i) bytes.push_back(static_cast<std::uint8_t>(i % 10 == 9 ? '\n' : 'c'));
    ASSERT_TRUE(OpenDocument(s, dir.write("t.txt", bytes), 0));
    s.TextViewOn = 1;
    BuildLineIndex(s);
    s.lines.TopLine = 3;
    s.TextViewOn = 0;
    ReturnToHexView(s);
    EXPECT_EQ(s.TopOffset, 16);
    EXPECT_EQ(CaretAddress(s), 16u);
    EXPECT_EQ(s.grid.caretRow, 0);
    EXPECT_EQ(s.grid.caretColumn, 0);
}

TEST(TextView, ReturnFromEmptyLastLineLandsOnLastByte) {
    TempDir dir;
    FakeUi ui;
    ui.client = {300, 160};
    EditorState s;
    s.ui = &ui;
    std::vector<std::uint8_t> bytes(99, 'x');
    bytes.push_back('\n');
    ASSERT_TRUE(OpenDocument(s, dir.write("t.txt", bytes), 0));
    s.TextViewOn = 1;
    BuildLineIndex(s);
    s.lines.TopLine = 1;  // the empty line after the final line feed
    s.TextViewOn = 0;
    ReturnToHexView(s);
    EXPECT_LT(CaretAddress(s), 100u);
    EXPECT_TRUE(ui.boxes.empty());
}

}  // namespace
}  // namespace vop
