// The editor against a plain model: the file's bytes and the user's unsaved
// edits at absolute addresses, and the caret's and the top row's addresses.
// Random moves, edits, saves, closes and the questions they raise run on the
// program (through its input, menu and dialog entry points) and on the model.
// After every step the held pages, the grid, the painted screen (and now and
// then its pixels), the caret, the scroll bar, the status bar, the modified
// flag and the file on disk must agree with the model. In every third stretch
// of steps the file is gone or cannot be written, and now and then it is locked
// for a moment: what needs it must then leave all as it was, and nothing the
// user did not drop may be lost or written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>

#include "support/session.h"
#include "view/data_render.h"

namespace vop {
namespace {

using std::int64_t;
using Bytes = std::vector<std::uint8_t>;
constexpr int64_t P = 65536, TwoGiB = 0x80000000ll;
enum class Disk { Sound, Gone, ReadOnly };
enum class Op { Right, Left, Down, Up, RowStart, RowEnd, PageDown, PageUp, LineDown, LineUp, Click, Thumb, Resize,
                Goto, Type, Modify, Save, CloseAndOpen, Count };
// Among them windows exactly wide enough for a row width (594, 1188 and 2130 at 8, 16 and 8 pixels a cell)
// and one a pixel short of one (337).
const ClientSize kClients[] = {{800, 600}, {300, 40}, {2200, 900}, {100, 15}, {1200, 333}, {594, 1}, {4300, 2000},
                               {1188, 140}, {2130, 100}, {337, 64}};
const std::string PageQuestion = "Part of the file was modified. Save changes?";
const std::string FileQuestion = "File has been modified. Save changes?";

struct Model {
    int64_t caret = 0, top = 0;
    std::map<int64_t, std::uint8_t> edits;  // typed and not saved: always inside the held pages
    int64_t pending = -1;                   // the byte whose high hex digit was typed last
};

// The program and the model side by side. Files below 2 GiB hold pattern
// bytes; at 2 GiB a sparse file of zeros with marker bytes around page borders.
struct Editor {
    test::Session t{{300, 160}};
    EditorState& s = t.s;
    test::FakeUi& ui = t.ui;
    int64_t size;
    Bytes small;                          // the file below 2 GiB
    std::map<int64_t, std::uint8_t> big;  // the 2 GiB file's bytes that are not zero
    Model m;
    Disk disk = Disk::Sound;
    std::mt19937 rng;

    Editor(int64_t fileSize, ClientSize client, std::uint8_t fontCell)
        : size(fileSize), rng(static_cast<std::uint32_t>(fileSize * 31 + fontCell)) {
        ui.client = client, s.settings.BlockCaret = std::uint8_t((fileSize + fontCell) % 2);
        // Glyph g shows g in its first eight pixels, digit d shows 0xF0 | d: the painted picture reads back as bytes.
        GlyphTables& gt = s.glyphs;
        for (int g = 0; g < 256; ++g) gt.font8x16[g * 16] = gt.font16x32[g * 64] = gt.font32x64[g * 256] = std::uint8_t(g);
        for (int d = 0; d < 16; ++d) gt.digits8x8[d * 8] = gt.digits16x16[d * 32] = gt.digits32x32[d * 128] = std::uint8_t(0xF0 | d);
        ChangeFontCell(s, fontCell);
        if (size < TwoGiB) {
            t.path = t.dir.write("doc", small = test::PatternBytes(std::size_t(size), std::uint32_t(size)));
        } else {
            std::fstream f(t.path = t.dir.sparse("doc", std::uint64_t(size)), std::ios::in | std::ios::out | std::ios::binary);
            for (int64_t page : {1, 2, 3, 16384, 32767, 32768})
                for (int64_t a = page * P - 3; a <= page * P + 3 && a < size; ++a)
                    f.seekp(a).put(static_cast<char>(big[a] = static_cast<std::uint8_t>(big.size() + 1)));
        }
        EXPECT_EQ(OpenDocument(s, t.path, 0), LoadOutcome::Loaded);
    }
    int64_t random(int64_t below) { return static_cast<int64_t>(rng() % static_cast<std::uint64_t>(below)); }
    std::pair<int64_t, int64_t> layout() const {  // bytes per row and rows, from the client size alone
        const int fc = s.settings.FontCell, cw = 8 << fc;
        int64_t n = 256;
        while (n > 16 && n * cw > ui.client.width - 10 * cw - 2 * (1 << fc)) n /= 2;
        // A screen never spans more than the two held pages.
        return {n, std::min<int64_t>(std::max(1, ui.client.height / (2 * cw)), P / n - 1)};
    }
    // The file's bytes from `start`, with the unsaved edits when the user sees them.
    Bytes bytes(int64_t start, int64_t length, bool edited) const {
        Bytes v(std::size_t(std::max<int64_t>(length, 0)), 0);
        if (size < TwoGiB) std::copy_n(small.begin() + start, v.size(), v.begin());
        for (const auto* changes : {&big, edited ? &m.edits : &big})
            for (auto it = changes->lower_bound(start); it != changes->end() && it->first < start + length; ++it)
                v[std::size_t(it->first - start)] = it->second;
        return v;
    }
    Bytes onDisk(int64_t start, int64_t length) const {
        std::ifstream in(disk == Disk::Gone ? t.path + ".away" : t.path, std::ios::binary);
        Bytes v(static_cast<std::size_t>(length));
        in.seekg(start).read(reinterpret_cast<char*>(v.data()), length);
        return v;
    }
    void saveEdits() {
        for (const auto& [a, v] : m.edits) (size < TwoGiB ? small[std::size_t(a)] : big[a]) = v;
        m.edits.clear();
    }
    void setDisk(Disk d) {
        if ((disk == Disk::Gone) != (d == Disk::Gone))
            std::filesystem::rename(d == Disk::Gone ? t.path : t.path + ".away", d == Disk::Gone ? t.path + ".away" : t.path);
        t.files.plan.failOpenUpdate = d == Disk::ReadOnly, disk = d;
    }

    // Everything the user can see or lose, against the model.
    void check(const std::string& what) {
        SCOPED_TRACE(what);
        const auto [n, rows] = layout();
        const PageWindow& w = s.pages;
        ASSERT_TRUE(s.documentOpen() && w.FileSize == size && t.files.openFiles == 0);
        ASSERT_TRUE(disk != Disk::Gone || !std::filesystem::exists(t.path)) << "a save made the vanished file anew";
        // The page before, the page and the page after as the user sees them; where saves write, the disk
        // holds what was saved and no unsaved edit.
        const int64_t pageStart = int64_t{w.PageIndex} * P;
        const PageBuffer* held[] = {&w.PrevPage, &w.CurrentPage, &w.NextPage};
        for (int64_t k = 0, start = pageStart - P; k < 3; ++k, start += P) {
            const int64_t length = start < 0 ? 0 : std::clamp<int64_t>(size - start, 0, P);
            ASSERT_TRUE(held[k]->Length == length && held[k]->present() == (length > 0)) << "page " << k;
            const Bytes want = bytes(start, length, k > 0);
            ASSERT_TRUE(std::equal(want.begin(), want.end(), held[k]->Bytes.get())) << "page " << k;
            ASSERT_TRUE(k == 0 || onDisk(start, length) == bytes(start, length, false)) << "file at page " << k;
        }
        ASSERT_EQ(s.Modified, m.edits.empty() ? 0 : 1);
        ASSERT_EQ(int64_t{s.PendingNibbleAddress}, m.pending < 0 ? 0xFFFFFFFFll : m.pending);
        // Caret and top where the model says; the caret's cell, pixel and address on show.
        const int cw = 8 << s.settings.FontCell, inset = 1 << s.settings.FontCell;
        const int64_t fromTop = m.caret - m.top;
        const int row = int(fromTop / n), column = int(fromTop % n);
        ASSERT_EQ(std::make_tuple(int64_t{CaretAddress(s)}, pageStart + s.TopOffset, s.grid.caretRow, s.grid.caretColumn),
                  std::make_tuple(m.caret, m.top, row, column));
        ASSERT_TRUE(s.ScreenPage == PageSlot::Current && row < rows && ui.caretVisible());
        const int caretY = row * 2 * cw + (s.settings.BlockCaret ? 0 : 2 * (cw - inset));  // a block, or a line at the foot
        ASSERT_EQ(std::make_pair(ui.caretX, ui.caretY), std::make_pair((column + 10) * cw + inset, caretY));
        char text[40];
        std::snprintf(text, sizeof text, "%08llXh", static_cast<unsigned long long>(m.caret));
        ASSERT_EQ(ui.statusText[0], text);
        std::snprintf(text, sizeof text, "filesize = %08llXh (%lld)", static_cast<unsigned long long>(size), static_cast<long long>(size));
        ASSERT_TRUE(ui.statusText[1] == text && ui.searchEnabled && ui.statusTwoParts && ui.title == t.path) << ui.statusText[1];
        // The grid holds the bytes at the addresses it labels; the screen shows the grid.
        const ScreenGrid& g = s.grid;
        ASSERT_TRUE(g.columns == n + 10 && g.rows == rows) << g.columns << "x" << g.rows;
        Bytes expect(std::size_t(g.columns * g.rows), 0x20);
        const int64_t shown = std::min(rows * n, size - m.top);
        const Bytes onScreen = bytes(m.top, shown, true);
        for (int64_t r = 0, a = m.top; r < rows && a < size; ++r) {
            std::snprintf(text, sizeof text, "%08llX: ", static_cast<unsigned long long>(a));
            std::copy(text, text + 10, expect.begin() + r * g.columns);
            for (int64_t k = 0; k < n && a < size; ++k, ++a) expect[std::size_t(r * g.columns + 10 + k)] = onScreen[std::size_t(a - m.top)];
        }
        ASSERT_TRUE(g.cells == expect) << "first wrong cell " << std::mismatch(expect.begin(), expect.end(), g.cells.begin()).first - expect.begin();
        ASSERT_EQ(g.filledCells, (shown - 1) / n * g.columns + 10 + (shown - 1) % n + 1);
        ui.paint(s);
        ASSERT_TRUE(ui.screen == g.cells) << "the screen was not repainted";
        if (m.caret % 4 == 0) checkPixels(row, cw, inset);
        // The scroll bar: a row per position, arrows only when the file does not fit.
        const int64_t range = (size + n - 1) / n - rows;
        ASSERT_EQ(ui.scrollArrowsEnabled, range >= 1);
        ASSERT_TRUE(range < 1 || (ui.scrollMax == range && ui.scrollPos == m.top / n)) << ui.scrollPos;
    }
    // The caret's row as painted (a band of the window) reads back as the grid: a character's glyph, or a byte's
    // high digit over its low digit raised by the inset, and nothing past the file's end in Hex.
    void checkPixels(int row, int cw, int inset) {
        const ScreenGrid& g = s.grid;
        const int width = ui.client.width;
        std::vector<std::uint32_t> band(std::size_t(width * 2 * cw));
        PixelSurface out{band.data(), width, 2 * cw, width, row * 2 * cw};
        RenderDataWindow(s, out);
        const auto read = [&](int x, int y) {  // eight pixels as bits, ink (0) as 1
            int v = 0;
            for (int i = 0; i < 8; ++i) v = v << 1 | (band[std::size_t(y * width + x + i)] == 0);
            return v;
        };
        for (int c = 0; c < g.columns && inset + (c + 1) * cw <= width; ++c) {
            const int v = g.at(row, c), hex = s.settings.FontType && c >= 10, past = row * g.columns + c >= g.filledCells;
            ASSERT_EQ(read(inset + c * cw, 0), hex ? (past ? 0 : 0xF0 | v >> 4) : v) << "cell " << c;
            ASSERT_EQ(read(inset + c * cw, cw - inset), hex && !past ? 0xF0 | (v & 15) : 0) << "cell " << c;
        }
    }
    // One random step on the program and the model.
    void step(std::string& what) {
        const Model before = m;
        auto [n, rows] = layout();
        const int64_t screen = rows * n, totalRows = (size + n - 1) / n;
        const Op op = static_cast<Op>(random(static_cast<int64_t>(Op::Count)));
        what = "op " + std::to_string(int(op)) + " caret " + std::to_string(m.caret) + " top " + std::to_string(m.top);
        const auto key = [&](int vk, KeyModifiers mods = {}) -> std::function<void()> { return [=] { DataWindowKeyDown(s, vk, mods); }; };
        const auto keepOnScreen = [&] { m.top += m.caret >= m.top + screen ? n : m.caret < m.top ? -n : 0; };
        const auto right = [&] { m.caret += m.caret + 1 < size, keepOnScreen(); };
        const auto jump = [&](int64_t a) {  // the target row goes to the top, unless the file fits
            if (a < size) m.caret = a, m.top = totalRows <= rows ? 0 : a - a % n;
        };
        std::function<void()> act;
        bool refused = false, locked = false;
        switch (op) {
            case Op::Right: act = key(Key::Right), right(); break;
            case Op::Left: act = key(Key::Left), m.caret -= m.caret > 0, keepOnScreen(); break;
            case Op::Down: act = key(Key::Down), m.caret += m.caret + n < size ? n : 0, keepOnScreen(); break;
            case Op::Up: act = key(Key::Up), m.caret -= m.caret >= n ? n : 0, keepOnScreen(); break;
            case Op::RowStart: act = key(Key::Home), m.caret -= m.caret % n; break;
            case Op::RowEnd: act = key(Key::End), m.caret = std::min(m.caret - m.caret % n + n - 1, size - 1); break;
            case Op::PageDown: case Op::PageUp: {  // Page Up stops at byte 0, the caret keeping its row
                const bool down = op == Op::PageDown;
                act = random(2) ? key(down ? Key::PageDown : Key::PageUp)
                                : [this, down] { DataWindowScroll(s, down ? ScrollRequest::PageDown : ScrollRequest::PageUp, 0); };
                const int64_t by = down ? (m.top + screen < size ? screen : 0) : -std::min(m.top, screen);
                m.caret = std::min(m.caret + by, size - 1), m.top += by;
                break;
            }
            case Op::LineDown: case Op::LineUp: {  // Scroll Lock and an arrow, the scroll bar or the wheel
                const bool up = op == Op::LineUp;
                const int64_t how = random(4);
                act = how == 0 ? key(up ? Key::Up : Key::Down, {false, false, true})
                    : how == 1 ? std::function<void()>([this, up] { DataWindowScroll(s, up ? ScrollRequest::LineUp : ScrollRequest::LineDown, 0); })
                               : [this, up, how] { DataWindowWheel(s, how == 3 ? 0 : up ? 240 : -120); };  // a row whatever the distance
                if (how == 3) break;  // a wheel message that went nowhere moves nothing
                if (up && m.top >= n) {  // the caret keeps its byte while that stays on the screen
                    m.top -= n;
                    m.caret -= m.caret >= m.top + screen ? n : 0;
                } else if (!up && m.top / n + rows < totalRows) {
                    m.top += n;
                    if (m.caret < m.top) m.caret = std::min(m.caret + n, size - 1);
                }
                break;
            }
            case Op::Click: {  // a double click anywhere, or on the cells around the file's end
                const int cw = 8 << s.settings.FontCell, left = 10 * cw + (1 << s.settings.FontCell);
                const int64_t end = size - m.top - 1 + random(3);
                const bool nearEnd = random(2) && end < screen;
                const auto x = int(nearEnd ? left + end % n * cw + random(cw) : random((n + 12) * cw) - cw);
                const auto y = int(nearEnd ? end / n * 2 * cw + random(2 * cw) : random((rows + 2) * 2 * cw) - cw);
                const int64_t a = m.top + y / (2 * cw) * n + (x - left) / cw;
                const bool onByte = x >= left && x < left + n * cw && y >= 0 && y < rows * 2 * cw && a < size;
                act = [this, x, y, onByte] {
                    ui.dialogs.clear();
                    DataWindowDoubleClick(s, x, y);
                    EXPECT_EQ(ui.dialogs.size(), onByte ? 1u : 0u) << "the Modify dialog after a click at " << x << "," << y;
                };
                if (onByte) m.caret = a;
                break;
            }
            case Op::Thumb: {  // big files move only when the thumb is released
                const auto pos = std::int32_t(totalRows > rows ? random(totalRows - rows + 1) : 0);
                const bool release = random(2);
                act = [this, pos, release] { DataWindowScroll(s, release ? ScrollRequest::ThumbPosition : ScrollRequest::ThumbTrack, pos); };
                if (release || size < 11141121) jump(pos * n);
                break;
            }
            case Op::Resize: {
                const ClientSize c = kClients[random(std::size(kClients))];
                const auto fc = random(4) == 0 ? std::uint8_t(random(3)) : s.settings.FontCell;
                act = [this, fc] {  // a new cell size comes with new strips, and a new window size (set below)
                    ChangeFontCell(s, fc);
                    DataWindowResized(s);
                    ui.caretHides = 1;  // the shell makes a new caret of the new size, hidden at first
                    DataCaretCreated(s);
                };
                ui.client = c, s.settings.FontCell = fc;
                std::tie(n, rows) = layout();  // the top goes to a row start and down to the caret; to 0 if the file fits
                m.top -= m.top % n;
                m.top += std::max<int64_t>((m.caret - m.top) / n - rows + 1, 0) * n;
                if ((size + n - 1) / n <= rows) m.top = 0;
                break;
            }
            case Op::Goto: {  // the dialog's jump, or Scroll Lock and Left or Right to the file's ends
                const int64_t choice[] = {random(size), size - 1 - random(std::min<int64_t>(size, 300)),
                                          random(size / P + 1) * P + random(5) - 2, size + random(3), 0, size - 1};
                const int64_t pick = random(6), target = std::max<int64_t>(choice[pick], 0);
                what += " to " + std::to_string(target);
                act = pick >= 4 ? key(pick == 4 ? Key::Left : Key::Right, {false, false, true})
                                : [this, &refused, target] {
                                      const bool moved = GotoAddress(s, std::uint32_t(target), BoxOwner::ActiveDialog);
                                      EXPECT_EQ(moved, target < size && !refused);
                                  };
                jump(target);
                break;
            }
            case Op::Type: {  // a character in Ascii font type, a hex digit (or not) in Hex, or Ctrl+0
                s.settings.FontType = std::uint8_t(random(2));
                const bool hex = s.settings.FontType;
                const int64_t kind = random(8);
                const auto code = std::uint8_t(hex ? "0123456789abcdefABCDEFg "[random(24)] : random(256));
                const bool ctrl = kind == 0, zero = kind == 1 && !hex;
                act = zero ? key(Key::Digit0, {true, false, false}) : [this, code, ctrl] { DataWindowChar(s, code, ctrl); };
                const int digit = std::isxdigit(code) ? (code <= '9' ? code - '0' : (code | 0x20) - 'a' + 10) : -1;
                const std::uint8_t old = bytes(m.caret, 1, true)[0];
                if (zero || (!hex && !ctrl && code != 8 && code != 13 && code != 27)) {
                    m.edits[m.caret] = zero ? 0 : code;
                    right();
                } else if (hex && digit >= 0 && m.pending != m.caret) {  // a new byte: its high digit
                    m.edits[m.caret] = std::uint8_t(digit << 4 | (old & 15));
                    m.pending = m.caret;
                } else if (hex && digit >= 0) {
                    m.edits[m.caret] = std::uint8_t((old & 0xF0) | digit);
                    m.pending = -1;
                    right();
                }
                break;
            }
            case Op::Modify: {  // the dialog's OK; a value left as shown changes nothing
                const std::uint8_t old = bytes(m.caret, 1, true)[0], value = random(2) ? old : std::uint8_t(random(256));
                act = [this, value] { ModifyCaretByte(s, value); };
                if (value != old) m.edits[m.caret] = value;
                break;
            }
            case Op::Save:
                act = [this] { RunMenuCommand(s, IDM_FILE_SAVE); };
                if (disk == Disk::Sound) saveEdits();
                break;
            case Op::CloseAndOpen: {  // Close (not at all, once or twice), then open it again from the command
                if (disk != Disk::Sound) return;  // line or by a drop; or drop a file that cannot be opened
                const auto answer = static_cast<BoxAnswer>(1 + random(3));  // Yes, No or Cancel
                if (!m.edits.empty()) ui.answers.push_back(answer);
                if (!m.edits.empty() && answer == BoxAnswer::Cancel) {
                    RunMenuCommand(s, IDM_FILE_CLOSE);
                    EXPECT_TRUE(s.documentOpen() && ui.lastBoxText() == FileQuestion);
                    return;
                }
                answer == BoxAnswer::Yes ? saveEdits() : m.edits.clear();
                const int64_t closes = random(4);
                act = [this, closes] {
                    if (closes == 3) return OpenDroppedFile(s, t.dir.file("missing"));  // the dropped changes must
                    for (int k = 0; k < closes; ++k) RunMenuCommand(s, IDM_FILE_CLOSE);  // not pass for the file's bytes
                    EXPECT_TRUE(!closes || (!s.documentOpen() && !ui.caretVisible() && ui.title == "Vop" && !ui.searchEnabled && !ui.statusTwoParts));
                    (closes == 0 || random(2)) ? OpenDroppedFile(s, t.path) : OpenNamedFile(s, t.path);
                };
                if (closes < 3) m = {0, 0, {}, -1};
                break;
            }
            case Op::Count: break;
        }
        // Leaving the held pages with unsaved edits asks first. Yes saves (or fails, and nothing moves); No
        // drops the edits (or cannot, the file being gone, and nothing moves). Without the file nothing moves;
        // locked by another program for a moment once the question is answered, the answer stands and nothing moves.
        if (op != Op::CloseAndOpen && m.top / P != before.top / P) {
            locked = disk == Disk::Sound && random(5) == 0;
            if (locked) t.files.plan.failOpenNumber = t.files.pathsAsked.size() + (m.edits.empty() ? 1 : 2);
            if (!m.edits.empty()) {
                const BoxAnswer answer = random(2) ? BoxAnswer::Yes : BoxAnswer::No;
                ui.answers.push_back(answer);
                refused = disk != Disk::Sound && (answer == BoxAnswer::Yes || disk == Disk::Gone);
                if (!refused) answer == BoxAnswer::Yes ? saveEdits() : m.edits.clear();
            }
            refused = refused || disk == Disk::Gone || locked;
        }
        const std::size_t boxes = ui.boxes.size();
        if (act) act();
        if (refused && op == Op::Resize) {  // the top stays on the held page's last row, the caret comes up in its column
            m.top = m.top / P * P - n;
            const int64_t fromTop = m.caret - m.top;
            m.caret = std::min(m.top + std::min(fromTop / n, rows - 1) * n + fromTop % n, size - 1);
        } else if (refused) {
            m.caret = before.caret, m.top = before.top;
        }
        EXPECT_TRUE(ui.answers.empty()) << what << ": a question was not asked";
        for (std::size_t k = boxes; k < ui.boxes.size(); ++k) {
            const std::string& text = ui.boxes[k].text;
            const bool question = text == PageQuestion || text == FileQuestion;
            EXPECT_TRUE(question || text == "Specified address is greater than filesize!" || disk != Disk::Sound || locked ||
                        text == "Error opening file: " + t.dir.file("missing")) << what << ": " << text;
            EXPECT_TRUE(!question || k == boxes) << what << ": asked twice";
        }
    }
};

class EditorModel : public ::testing::TestWithParam<int64_t> {};

TEST_P(EditorModel, RandomSessionsAgreeWithThePlainModel) {
    const int64_t size = GetParam();
    const ClientSize clients[] = {{800, 600}, {300, 40}, {1200, 333}};
    for (std::uint8_t fc = 0; fc < 3 && !HasFatalFailure(); ++fc) {
        SCOPED_TRACE("FontCell " + std::to_string(fc));
        Editor e(size, clients[(size + fc) % 3], fc);
        e.check("after opening");
        std::string what;
        for (int i = 0; i < 1200 && !HasFatalFailure(); ++i) {
            if (i % 50 == 0) e.setDisk((i / 50) % 3 != 2 ? Disk::Sound : e.random(2) ? Disk::Gone : Disk::ReadOnly);
            // Now and then one kind of step is repeated, so that long runs cross page borders and reach the
            // ends of the file.
            const std::uint32_t burst = e.random(4) == 0 ? 1 + std::uint32_t(e.random(24)) : 1, seed = e.rng();
            for (std::uint32_t b = 0; b < burst && !HasFatalFailure(); ++b) {
                const std::mt19937 saved = e.rng;
                if (burst > 1) e.rng.seed(seed);
                e.step(what);
                if (burst > 1) e.rng = saved;
                e.check(std::to_string(i) + "." + std::to_string(b) + " " + what);
            }
            if (i % (size < 4 * P ? 50 : 300) == 49 && size < TwoGiB) {  // the whole file now and then: no write astray
                ASSERT_TRUE(e.onDisk(0, size) == e.small) << "the file after step " << i;
            }
        }
        e.setDisk(Disk::Sound);
    }
}

INSTANTIATE_TEST_SUITE_P(FileSizes, EditorModel,
                         ::testing::Values(1, 15, 16, 17, 100, P - 1, P, P + 1, 3 * P + 17, 11141120, 11141121, TwoGiB));

}  // namespace
}  // namespace vop
