// The editor against a plain reference: the file's bytes and the user's
// unsaved edits at absolute addresses, and the caret's and the top row's
// addresses. Random moves, edits, saves, closes and the questions they raise
// run on the program (through its input, menu and dialog entry points) and on
// the reference. After every step the held pages, the grid, the painted
// screen (and now and then its pixels), the caret, the scroll bar, the status
// bar, the modified flag and the file on disk must agree with it. In every
// third stretch of steps the file is gone or cannot be written, and now and
// then it is locked for a moment: what needs it must then leave all as it
// was, and nothing the user did not drop may be lost or written.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <map>
#include <random>

#include "search/find_replace.h"
#include "support/session.h"
#include "view/data_render.h"

namespace vop {
namespace {

using namespace std;


using test::Bytes;
constexpr int64_t P = 65536;
constexpr int64_t TwoGiB = 0x80000000ll;
constexpr int64_t BigThumb = 11141121;  // from this size on the thumb moves the view only when released
enum class Disk { Sound, Gone, ReadOnly };
enum class Op {
    Right, Left, Down, Up, RowStart, RowEnd, PageDown, PageUp, LineDown, LineUp, Click, Thumb,
    Resize, Goto, Type, Modify, Save, CloseAndOpen, Find, Replace, ReplaceAll, Count
};
const string PageQuestion = "Part of the file was modified. Save changes?";
const string FileQuestion = "File has been modified. Save changes?";
const string NotFound = "Sequence not found!";
// Among them windows exactly wide enough for a row (594, 1188 and 2130 pixels
// at 8, 16 and 8 pixels a cell), one a pixel short of one (337), and one
// taller than a page of 256-byte rows (4200).
const ClientSize Clients[] = {{800, 600}, {300, 40},  {2200, 900}, {100, 15},  {1200, 333},
                              {594, 1},   {4300, 4200}, {1188, 140}, {2130, 100}, {337, 64}};
const KeyModifiers None{};
const KeyModifiers Ctrl{true};
const KeyModifiers ScrollLock{false, false, true};

string Hex8(int64_t value) {  // (no address nor size reaches 2^32)
    char text[9];
    snprintf(text, 9, "%08X", unsigned(value));
    return text;
}

// What the user should see: the file, the edits, the caret and the top row.
struct Reference {
    int64_t size = 0;
    Bytes small;                          // the file below 2 GiB
    map<int64_t, uint8_t> big;  // the 2 GiB file's bytes that are not zero
    map<int64_t, uint8_t> edits;
    int64_t caret = 0;
    int64_t top = 0;
    int64_t pending = -1;  // the byte whose high hex digit was typed last

    // The file's bytes from `start`, with the edits when the user sees them.
    Bytes bytes(int64_t start, int64_t length, bool edited) const {
        Bytes v(size_t(max<int64_t>(length, 0)), 0);
        if (size < TwoGiB) copy_n(small.begin() + start, v.size(), v.begin());
        for (auto* changes : {&big, &edits}) {
            if (changes == &edits && !edited) continue;
            for (auto it = changes->lower_bound(start); it != changes->end() && it->first < start + length; ++it)
                v[size_t(it->first - start)] = it->second;
        }
        return v;
    }
    uint8_t shown(int64_t address) const { return bytes(address, 1, true)[0]; }
    // The edits below `end` reach the file.
    void saveEdits(int64_t end = TwoGiB) {
        for (auto& [a, v] : edits) {
            if (a >= end) break;
            (size < TwoGiB ? small[size_t(a)] : big[a]) = v;
        }
        edits.erase(edits.begin(), edits.lower_bound(end));
    }
};

// The program and the reference side by side, on a file of pattern bytes
// (at 2 GiB a sparse file of zeros with marker bytes around page borders).
struct EditorRun {
    test::Session t{{300, 160}};
    EditorState& s = t.s;
    test::FakeUi& ui = t.ui;
    Reference want;
    int64_t caretBefore = 0;
    int64_t topBefore = 0;
    Disk disk = Disk::Sound;
    mt19937 rng;
    string what;
    bool refused = false;
    bool locked = false;

    int64_t random(int64_t below) { return int64_t(rng() % uint64_t(below)); }

    EditorRun(int64_t size, ClientSize client, uint8_t fontCell) : rng(uint32_t(size * 31 + fontCell)) {
        ui.client = client;
        s.settings.BlockCaret = uint8_t((size + fontCell) % 2);
        // Glyph g shows g in its first eight pixels, digit d shows 0xF0 | d:
        // the painted picture reads back as bytes.
        GlyphTables& g = s.glyphs;
        uint8_t* fonts[] = {g.font8x16.data(), g.font16x32.data(), g.font32x64.data()};
        uint8_t* digits[] = {g.digits8x8.data(), g.digits16x16.data(), g.digits32x32.data()};
        for (int k = 0; k < 3; ++k) {
            for (int c = 0; c < 256; ++c) fonts[k][c * (16 << 2 * k)] = uint8_t(c);
            for (int d = 0; d < 16; ++d) digits[k][d * (8 << 2 * k)] = uint8_t(0xF0 | d);
        }
        ChangeFontCell(s, fontCell);
        want.size = size;
        if (size < TwoGiB) {
            want.small = test::PatternBytes(size_t(size), uint32_t(size));
            t.path = t.dir.write("doc", want.small);
        } else {
            t.path = t.dir.sparse("doc", uint64_t(size));
            fstream f(t.path, ios::in | ios::out | ios::binary);
            for (int64_t page : {1, 2, 3, 16384, 32767, 32768}) {
                for (int64_t a = page * P - 3; a <= page * P + 3 && a < size; ++a) {
                    want.big[a] = uint8_t(want.big.size() + 1);
                    f.seekp(a).put(char(want.big[a]));
                }
            }
        }
        EXPECT_EQ(OpenDocument(s, t.path, 0), LoadOutcome::Loaded);
        ui.pickedFile = t.path;
    }

    int cell() const { return 8 << s.settings.FontCell; }
    int inset() const { return 1 << s.settings.FontCell; }
    // Bytes a row: the widest of 16 to 256 that fits beside the address.
    int64_t perRow() const {
        int64_t n = 256;
        while (n > 16 && n * cell() > ui.client.width - 10 * cell() - 2 * inset()) n /= 2;
        return n;
    }
    // Whole rows of the client area, at least one; a screen never spans more
    // than the two held pages.
    int64_t rows() const { return min<int64_t>(max(1, ui.client.height / (2 * cell())), P / perRow() - 1); }
    int64_t screen() const { return rows() * perRow(); }
    int64_t totalRows() const { return (want.size + perRow() - 1) / perRow(); }

    void setDisk(Disk d) {
        string away = t.path + ".away";
        if (disk != Disk::Gone && d == Disk::Gone) filesystem::rename(t.path, away);
        if (disk == Disk::Gone && d != Disk::Gone) filesystem::rename(away, t.path);
        t.files.plan.failOpenUpdate = d == Disk::ReadOnly;
        disk = d;
    }
    Bytes onDisk(int64_t start, int64_t length) const {
        ifstream in(disk == Disk::Gone ? t.path + ".away" : t.path, ios::binary);
        Bytes v(size_t(length), 0);
        in.seekg(start).read((char*)v.data(), length);
        return v;
    }

    // ---- one step: the reference moves first, then the program acts ----
    // Leaving the held pages with edits asks first. Yes saves (or fails, and
    // nothing moves); No drops them (or cannot, the file being gone, and
    // nothing moves). Without the file nothing moves; locked by another
    // program for a moment once the question is answered, the answer stands
    // and nothing moves.
    void leaving() {
        if (want.top / P == topBefore / P) return;
        locked = disk == Disk::Sound && random(5) == 0;
        if (locked) t.files.plan.failOpenNumber = t.files.pathsAsked.size() + (want.edits.empty() ? 1 : 2);
        if (!want.edits.empty()) {
            BoxAnswer answer = random(2) == 0 ? BoxAnswer::Yes : BoxAnswer::No;
            ui.reply(PageQuestion, answer);
            refused = disk != Disk::Sound && (answer == BoxAnswer::Yes || disk == Disk::Gone);
            if (!refused && answer == BoxAnswer::Yes) want.saveEdits();
            if (!refused) want.edits.clear();
        }
        refused = refused || disk == Disk::Gone || locked;
    }
    void key(int vk, KeyModifiers mods = None) {
        leaving();
        DataWindowKeyDown(s, vk, mods);
    }
    void scroll(int request, int32_t position = 0) {
        leaving();
        DataWindowScroll(s, request, position);
    }

    // An arrow: the caret moves while it stays in the file, the screen a row
    // with it when it would leave.
    void move(int64_t by) {
        if (want.caret + by >= 0 && want.caret + by < want.size) want.caret += by;
        if (want.caret >= want.top + screen()) want.top += perRow();
        if (want.caret < want.top) want.top -= perRow();
    }
    // A jump puts the target's row at the top, unless the file fits the screen.
    void jump(int64_t address) {
        if (address >= want.size) return;
        want.caret = address;
        want.top = totalRows() <= rows() ? 0 : address - address % perRow();
    }

    // Page Down stops before a screen past the end, Page Up at byte 0; the
    // caret keeps its row.
    void pageStep(bool down) {
        int64_t by = -min(want.top, screen());
        if (down) by = want.top + screen() < want.size ? screen() : 0;
        want.caret = min(want.caret + by, want.size - 1);
        want.top += by;
        if (random(2) == 0) return key(down ? Key::PageDown : Key::PageUp);
        scroll(down ? ScrollRequest::PageDown : ScrollRequest::PageUp);
    }

    // Scroll Lock and an arrow, the scroll bar's arrow or the wheel: a row
    // whatever the wheel's distance; the caret keeps its byte while it can.
    void line(bool up) {
        int64_t how = random(4);
        if (how == 3) return DataWindowWheel(s, 0);  // went nowhere: nothing moves
        int64_t n = perRow();
        if (up && want.top >= n) {
            want.top -= n;
            if (want.caret >= want.top + screen()) want.caret -= n;
        }
        if (!up && want.top / n + rows() < totalRows()) {
            want.top += n;
            if (want.caret < want.top) want.caret = min(want.caret + n, want.size - 1);
        }
        if (how == 0) return key(up ? Key::Up : Key::Down, ScrollLock);
        if (how == 1) return scroll(up ? ScrollRequest::LineUp : ScrollRequest::LineDown);
        leaving();
        DataWindowWheel(s, up ? 240 : -120);
    }

    // A double click anywhere, or on the cells around the file's end: the
    // caret goes to a byte under the pointer, and Modify opens there.
    void click() {
        int64_t n = perRow();
        int cw = cell();
        int left = 10 * cw + inset();
        int64_t end = want.size - want.top - 1 + random(3);
        int x = int(random((n + 12) * cw)) - cw;
        int y = int(random((rows() + 2) * 2 * cw)) - cw;
        if (random(2) == 0 && end < screen()) {
            x = int(left + end % n * cw + random(cw));
            y = int(end / n * 2 * cw + random(2 * cw));
        }
        int64_t address = want.top + y / (2 * cw) * n + (x - left) / cw;
        bool inside = x >= left && x < left + n * cw && y >= 0 && y < rows() * 2 * cw;
        bool onByte = inside && address < want.size;
        if (onByte) want.caret = address;
        ui.dialogs.clear();
        DataWindowDoubleClick(s, x, y);
        EXPECT_EQ(ui.dialogs.size(), onByte ? 1u : 0u) << "the Modify dialog after a click at " << x << "," << y;
    }

    // A big file moves only when the thumb is released.
    void thumb() {
        int64_t range = totalRows() - rows();
        auto position = int32_t(range > 0 ? random(range + 1) : 0);
        bool released = random(2) == 0;
        if (released || want.size < BigThumb) jump(position * perRow());
        scroll(released ? ScrollRequest::ThumbPosition : ScrollRequest::ThumbTrack, position);
    }

    // A new window size, now and then with a new cell size: the top goes to
    // a row start and down to the caret, or to 0 when the file fits.
    void resize() {
        uint8_t fc = random(4) == 0 ? uint8_t(random(3)) : s.settings.FontCell;
        ui.client = Clients[random(size(Clients))];
        s.settings.FontCell = fc;
        int64_t n = perRow();
        want.top -= want.top % n;
        want.top += max<int64_t>((want.caret - want.top) / n - rows() + 1, 0) * n;
        if (totalRows() <= rows()) want.top = 0;
        leaving();
        ChangeFontCell(s, fc);
        DataWindowResized(s);
        ui.caretHides = 1;  // the shell makes a new caret of the new size, hidden at first
        DataCaretCreated(s);
    }

    // The Goto dialog's jump, or Scroll Lock with Left or Right to the file's ends.
    void goTo() {
        int64_t size = want.size;
        int64_t choices[] = {random(size), size - 1 - random(min<int64_t>(size, 300)),
                                   random(size / P + 1) * P + random(5) - 2, size + random(3), 0, size - 1};
        int64_t pick = random(6);
        int64_t target = max<int64_t>(choices[pick], 0);
        what += " to " + to_string(target);
        jump(target);
        if (pick == 4) return key(Key::Left, ScrollLock);
        if (pick == 5) return key(Key::Right, ScrollLock);
        leaving();
        bool moved = GotoAddress(s, uint32_t(target), BoxOwner::ActiveDialog);
        EXPECT_EQ(moved, target < size && !refused);
    }

    // A character in the Ascii font type or a hex digit (or not) in Hex, each
    // with Ctrl held now and then (which types nothing), or Ctrl+0.
    void type() {
        s.settings.FontType = uint8_t(random(2));
        bool hex = s.settings.FontType == 1;
        int64_t kind = random(8);
        auto code = uint8_t(hex ? "0123456789abcdefABCDEFg "[random(24)] : random(256));
        bool ctrl = kind == 0;
        bool zero = kind == 1 && !hex;
        int digit = isxdigit(code) && !ctrl ? stoi(string(1, char(code)), nullptr, 16) : -1;
        uint8_t old = want.shown(want.caret);
        bool character = !hex && !ctrl && code != 8 && code != 13 && code != 27;
        if (zero || character) {
            want.edits[want.caret] = zero ? 0 : code;
            move(1);
        } else if (hex && digit >= 0 && want.pending != want.caret) {  // a new byte: its high digit
            want.edits[want.caret] = uint8_t(digit << 4 | (old & 15));
            want.pending = want.caret;
        } else if (hex && digit >= 0) {
            want.edits[want.caret] = uint8_t((old & 0xF0) | digit);
            want.pending = -1;
            move(1);
        }
        if (zero) return key(Key::Digit0, Ctrl);
        leaving();
        DataWindowChar(s, code, KeyModifiers{ctrl});
    }

    // The Modify dialog's OK; a value left as shown changes nothing.
    void modify() {
        uint8_t old = want.shown(want.caret);
        auto value = random(2) == 0 ? old : uint8_t(random(256));
        if (value != old) want.edits[want.caret] = value;
        ModifyCaretByte(s, value);
    }

    // Close (not at all, once or twice), then open it again from the command
    // line, by a drop or from the Open dialog; or drop a file that cannot be
    // opened. The question comes first. Cancel, or a Yes whose save fails,
    // keeps the document and its edits, whether it came from Close, Open or
    // Exit. The Open dialog's pick forgets the Find pattern; a file that
    // cannot be written is named as read-only once it is open.
    void closeAndOpen() {
        bool asked = !want.edits.empty();
        auto answer = BoxAnswer(1 + random(3));
        if (disk == Disk::Gone && (!asked || answer == BoxAnswer::No)) return;  // nothing to open again
        if (asked) ui.reply(FileQuestion, answer);
        int commands[] = {IDM_FILE_CLOSE, IDM_FILE_OPEN, IDM_FILE_EXIT};
        if (asked && (answer == BoxAnswer::Cancel || (answer == BoxAnswer::Yes && disk != Disk::Sound))) {
            RunMenuCommand(s, commands[random(3)]);
            if (answer == BoxAnswer::Yes) {
                EXPECT_EQ(ui.lastBoxText(), "Error opening file for writing!");
            }
            return;
        }
        if (answer == BoxAnswer::Yes) want.saveEdits();
        want.edits.clear();
        boxesBefore = ui.boxes.size();
        int64_t closes = random(4);
        if (closes == 3) return openRefused();
        want = Reference{want.size, want.small, want.big};
        for (int k = 0; k < closes; ++k) RunMenuCommand(s, IDM_FILE_CLOSE);
        if (closes > 0) {
            EXPECT_FALSE(s.documentOpen());
            EXPECT_FALSE(ui.caretVisible());
            EXPECT_EQ(s.grid.cells.capacity(), 0u) << "the grid's memory kept";
        }
        if (closes == 0 && random(2) == 0) {
            RunMenuCommand(s, IDM_FILE_OPEN);  // the Open dialog picks it
            remembered = 0;
        } else if (closes == 0 || random(2) == 0) {
            OpenDroppedFile(s, t.path);
        } else {
            OpenNamedFile(s, t.path);
        }
        expectReadOnlyWarning();
    }
    size_t boxesBefore = 0;
    void expectReadOnlyWarning() {
        string warning = "File " + t.path + " has been opened as read only. Any attempt of modifying it will fail!";
        bool warned = ui.boxes.size() > boxesBefore && ui.lastBoxText() == warning;
        EXPECT_EQ(warned, disk == Disk::ReadOnly) << ui.lastBoxText();
    }

    // ---- searches, against a naive search of what the user sees ----
    Bytes shown;                      // the whole file as the user sees it, kept along a search
    int64_t page = 0;                 // the current page, which a replace-all shifts quietly
    int64_t asked = 0;      // questions of this step: the first few are answered at random
    int64_t remembered = 0;  // the Find pattern's length, which F3 searches for again
    vector<string> boxes;   // owner, title and text of each box the step should show
    BoxOwner asker = BoxOwner::ActiveDialog;  // the dialog, or the data window for F3
    bool running = false;
    bool agreed = false;
    bool declined = false;

    void tell(const string& text, const string& title = "Error", BoxOwner owner = BoxOwner::MainWindow) {
        boxes.push_back(test::BoxLine({owner, text, title}));
    }
    // The user's answer, given to the fake for this very question.
    BoxAnswer ask(const string& text, const string& title, BoxAnswer unanswered) {
        tell(text, title, asker);
        BoxAnswer answer = asked++ < 6 ? BoxAnswer(1 + random(unanswered == BoxAnswer::No ? 2 : 3)) : unanswered;
        ui.reply(text, answer);
        return answer;
    }
    bool saved(int64_t end = TwoGiB) {
        if (disk != Disk::Sound) tell("Error opening file for writing!");
        if (disk != Disk::Sound) return false;
        want.saveEdits(end);
        return true;
    }
    // The first occurrence from `from`; -1 for none, -2 when the rest of the
    // file is needed and gone.
    int64_t find(int64_t from, const Bytes& pattern) {
        int64_t reach = disk == Disk::Gone ? min(want.size, (page + 2) * P) : want.size;
        if (from < reach) {
            auto end = shown.begin() + reach;
            auto at = std::search(shown.begin() + from, end, pattern.begin(), pattern.end());
            if (at != end) return at - shown.begin();
        }
        if (from >= want.size || reach == want.size) return -1;
        tell("Error opening file for reading!");
        return -2;
    }
    // A jump to an occurrence, asking first when it leaves the held pages:
    // Yes saves, No reads the pages back from the file.
    bool jumpTo(int64_t address) {
        bool leaves = address / P != page;
        if (leaves && !want.edits.empty()) {
            bool yes = (running && agreed) || ask(PageQuestion, "Warning", BoxAnswer::No) == BoxAnswer::Yes;
            if (yes && !saved()) return false;
            agreed = running && yes;
            declined = running && !yes;
            if (!yes && disk == Disk::Gone) {  // nothing to read back: the edits stay
                tell("Error opening file!");
                return false;
            }
            if (!yes) want.edits.clear();
            shown = want.bytes(0, want.size, true);
        }
        if (leaves && disk == Disk::Gone) {  // the reload around the occurrence's page
            tell("Error opening file: " + t.path);
            return false;
        }
        page = address / P;
        jump(address);
        return true;
    }
    // 1 found, 0 not found, -1 failed. A jump that dropped the edits the
    // search saw goes on from the next byte.
    int search(int64_t from, const Bytes& pattern) {
        while (true) {
            int64_t at = find(from, pattern);
            if (at < 0) return at == -1 ? 0 : -1;
            if (!jumpTo(at)) return -1;
            if (equal(pattern.begin(), pattern.end(), shown.begin() + at)) return 1;
            from = at + 1;
        }
    }
    void write(int64_t at, const Bytes& with) {
        for (size_t k = 0; k < with.size(); ++k) {
            want.edits[at + int64_t(k)] = with[k];
            shown[size_t(at) + k] = with[k];
        }
    }
    void replaceOneByOne(const Bytes& pattern, const Bytes& with) {
        int result = search(want.caret, pattern);
        while (result == 1) {
            BoxAnswer answer = ask("Replace this occurrance?", "Replace", BoxAnswer::Cancel);
            if (answer == BoxAnswer::Cancel) return;
            if (answer == BoxAnswer::Yes) write(want.caret, with);
            result = search(answer == BoxAnswer::Yes ? want.caret : want.caret + 1, pattern);
        }
        if (result == 0) tell(NotFound, "Replace", BoxOwner::ActiveDialog);
    }
    // The run ends showing its last occurrence's row, scrolled on to the
    // caret after it while the top row stays in the page; past the screen's
    // reach, the caret stays on the occurrence.
    void showRunEnd(int64_t last) {
        int64_t after = want.caret;
        int64_t n = perRow();
        jump(last);
        int64_t pageEnd = min(want.size, (page + 1) * P);
        int64_t top = min(after - after % n, (pageEnd - 1) / n * n);
        if ((after - want.top) / n >= rows()) {
            if ((after - top) / n >= rows()) return;
            want.top = top;
        }
        want.caret = after;
    }
    void replaceAll(const Bytes& pattern, const Bytes& with) {
        running = true;
        agreed = false;
        declined = false;
        int count = 0;
        int64_t last = -1;
        for (int64_t from = want.caret;;) {
            int64_t at = find(from, pattern);
            if (at < 0) break;
            if (at / P == page + 1 && (want.edits.empty() || agreed)) {
                // The next page needs no question: the page left is saved
                // (the next one's edits stay held), the next shifted in.
                if (!want.edits.empty() && !saved((page + 1) * P)) break;
                if (disk == Disk::Gone) {
                    tell("Error reading file!");
                    break;
                }
                page += 1;
            } else if (at / P != page) {
                if (!jumpTo(at)) break;
                last = -1;  // the jump showed the caret
                if (declined) break;
            }
            write(at, with);
            count += 1;
            last = at;
            want.caret = at;
            from = at + int64_t(pattern.size());
            if (from >= want.size) break;
            want.caret = from;
        }
        running = false;
        if (last >= 0) showRunEnd(last);
        if (declined) return;
        // A run that failed after a Yes writes nothing more (search_test):
        // the disk never fails within one step here.
        if (agreed) saved();
        tell("Replaced " + to_string(count) + " occurances", "Replace", BoxOwner::ActiveDialog);
    }

    // A pattern the user sees: anywhere, across the end of a held page (where
    // the screen's reach and the search's chunks end), or over an edit, which
    // a jump may drop; now and then one found nowhere.
    Bytes pattern() {
        int64_t length = random(2) == 0 ? random(257) : random(7);
        int64_t from = random(want.size);
        int64_t choice = random(3);
        if (choice == 1) from = (page + 1 + random(2)) * P - random(length + 1);
        auto edit = want.edits.lower_bound(from);
        if (choice == 2 && edit != want.edits.end()) from = edit->first - random(min<int64_t>(length, 8) + 1);
        length = min(length, want.size);
        from = clamp<int64_t>(from, 0, want.size - length);
        Bytes p(shown.begin() + from, shown.begin() + from + length);
        if (!p.empty() && random(5) == 0) p[size_t(random(int64_t(p.size())))] ^= 0x03;
        return p;
    }

    // Find then F3, or Replace one by one or all, with the user's answers.
    void searchStep(Op op) {
        if (want.size > 16 * P) return;  // the search's own tests reach files of every size
        page = want.top / P;
        shown = want.bytes(0, want.size, true);
        Bytes p = pattern();
        Bytes with = p;
        for (auto& b : with) b = random(5) == 0 ? b : uint8_t(b ^ 0x20);
        auto n = int32_t(p.size());
        asked = 0;
        boxes.clear();
        size_t before = ui.boxes.size();
        if (op == Op::Find || p.empty()) {
            // F3 searches again from the next byte; without a pattern it opens Find.
            asker = BoxOwner::ActiveDialog;
            if (search(want.caret, p) == 0) tell(NotFound, "Find", asker);
            asker = BoxOwner::DataWindow;
            if (!p.empty() && search(want.caret + 1, p) == 0) tell(NotFound, "Find", asker);
            asker = BoxOwner::ActiveDialog;
            remembered = n;
            RunFind(s, p.data(), n);
            DataWindowKeyDown(s, Key::F3, None);
        } else if (op == Op::Replace) {
            replaceOneByOne(p, with);
            ReplaceOneByOne(s, p.data(), with.data(), n);
        } else {
            replaceAll(p, with);
            ReplaceAll(s, p.data(), with.data(), n);
        }
        vector<string> shownBoxes;
        for (size_t k = before; k < ui.boxes.size(); ++k) shownBoxes.push_back(test::BoxLine(ui.boxes[k]));
        EXPECT_EQ(shownBoxes, boxes) << what;
        EXPECT_EQ(ui.blinking, 0) << "an occurrence left blinking";
        ui.boxes.resize(before);
    }

    // A drop of a file Vop refuses, its name never cut: one it cannot open
    // leaves the held document (whose dropped changes must not pass for the
    // file's bytes); an empty one, or one over 2 GiB (even one whose size
    // wraps to a small number in 32 bits), closes it.
    void openRefused() {
        string tooLarge = "This version cannot edit files greater than 2 gigabytes. File closed.";
        string refused[] = {t.dir.file("missing"), t.dir.path() + "/" + string(MaxPathLength, 'x'),
                                       t.dir.sparse("empty", 0), t.dir.sparse("over", 0x80000001ull),
                                       t.dir.sparse("wraps", 0x10000000Aull)};
        string boxes[] = {"Error opening file: " + refused[0], "Error opening file: " + refused[1],
                                     "Size of opened file equals 0. File closed!", tooLarge, tooLarge};
        int64_t k = random(5);
        OpenDroppedFile(s, refused[k]);
        EXPECT_EQ(ui.lastBoxText(), boxes[k]);
        ui.boxes.pop_back();
        EXPECT_EQ(s.documentOpen(), k < 2);
        if (k < 2) return;
        boxesBefore = ui.boxes.size();
        OpenDroppedFile(s, t.path);
        expectReadOnlyWarning();
        want = Reference{want.size, want.small, want.big};
    }

    void act(Op op) {
        switch (op) {
            case Op::Right: move(1); return key(Key::Right);
            case Op::Left: move(-1); return key(Key::Left);
            case Op::Down: move(perRow()); return key(Key::Down);
            case Op::Up: move(-perRow()); return key(Key::Up);
            case Op::RowStart:
                want.caret -= want.caret % perRow();
                return key(Key::Home);
            case Op::RowEnd:
                want.caret = min(want.caret - want.caret % perRow() + perRow() - 1, want.size - 1);
                return key(Key::End);
            case Op::PageDown: return pageStep(true);
            case Op::PageUp: return pageStep(false);
            case Op::LineDown: return line(false);
            case Op::LineUp: return line(true);
            case Op::Click: return click();
            case Op::Thumb: return thumb();
            case Op::Resize: return resize();
            case Op::Goto: return goTo();
            case Op::Type: return type();
            case Op::Modify: return modify();
            case Op::Save:
                if (disk == Disk::Sound) want.saveEdits();
                return RunMenuCommand(s, IDM_FILE_SAVE);
            case Op::CloseAndOpen: return closeAndOpen();
            case Op::Find:
            case Op::Replace:
            case Op::ReplaceAll: return searchStep(op);
            case Op::Count: return;
        }
    }

    // A refused move leaves everything, but a new window size: its top stays
    // on the held page's last row, the caret comes up in its column.
    void undoRefused(Op op) {
        if (op != Op::Resize) {
            want.caret = caretBefore;
            want.top = topBefore;
            return;
        }
        int64_t n = perRow();
        want.top = want.top / P * P - n;
        int64_t fromTop = want.caret - want.top;
        want.caret = min(want.top + min(fromTop / n, rows() - 1) * n + fromTop % n, want.size - 1);
    }

    void step(Op op) {
        caretBefore = want.caret;
        topBefore = want.top;
        refused = locked = false;
        what = "op " + to_string(int(op)) + " at " + to_string(want.caret);
        size_t boxes = ui.boxes.size();
        act(op);
        if (refused) undoRefused(op);
        // Only the boxes the step may show: a question first, or a refusal.
        EXPECT_TRUE(ui.replies.empty()) << what << ": a question was not asked";
        for (size_t k = boxes; k < ui.boxes.size(); ++k) {
            string& text = ui.boxes[k].text;
            bool question = text == PageQuestion || text == FileQuestion;
            EXPECT_TRUE(question || text == "Specified address is greater than filesize!" || disk != Disk::Sound ||
                        locked) << what << ": " << text;
            if (question) {
                EXPECT_EQ(k, boxes) << what << ": asked twice";
            }
        }
    }

    // ---- everything the user can see or lose ----
    void expectPages() {
        PageWindow& w = s.pages;
        PageBuffer* held[] = {&w.PrevPage, &w.CurrentPage, &w.NextPage};
        for (int64_t k = 0; k < 3; ++k) {
            int64_t start = (int64_t{w.PageIndex} - 1 + k) * P;
            int64_t length = start < 0 ? 0 : clamp<int64_t>(want.size - start, 0, P);
            ASSERT_EQ(held[k]->Length, length) << "page " << k;
            ASSERT_EQ(held[k]->present(), length > 0) << "page " << k;
            Bytes heldBytes(held[k]->Bytes.get(), held[k]->Bytes.get() + length);
            // The page before holds no edit; the file holds none that is unsaved.
            ASSERT_EQ(heldBytes, want.bytes(start, length, k > 0)) << "page " << k;
            if (k > 0) {
                ASSERT_EQ(onDisk(start, length), want.bytes(start, length, false)) << "file at page " << k;
            }
        }
    }
    // The grid holds the bytes at the addresses it labels.
    Bytes wantGrid() const {
        int64_t n = perRow();
        int64_t columns = n + 10;
        Bytes cells(size_t(columns * rows()), 0x20);
        int64_t shown = min(screen(), want.size - want.top);
        Bytes bytes = want.bytes(want.top, shown, true);
        for (int64_t k = 0; k < shown; ++k) {
            int64_t row = k / n;
            if (k % n == 0) {
                string label = Hex8(want.top + k) + ": ";
                copy(label.begin(), label.end(), cells.begin() + row * columns);
            }
            cells[size_t(row * columns + 10 + k % n)] = bytes[size_t(k)];
        }
        return cells;
    }
    void expectScreen() {
        int64_t n = perRow();
        int64_t fromTop = want.caret - want.top;
        int64_t shown = min(screen(), want.size - want.top);
        ASSERT_EQ(s.ScreenPage, PageSlot::Current);
        ASSERT_EQ(int64_t{s.pages.PageIndex}, want.top / P);
        ASSERT_EQ(s.TopOffset, want.top % P);
        ASSERT_EQ(s.grid.caretRow, fromTop / n);
        ASSERT_EQ(s.grid.caretColumn, fromTop % n);
        ASSERT_LT(fromTop / n, rows());
        ASSERT_TRUE(ui.caretVisible());
        // A block over the cell, or a line at its foot.
        int lineY = s.settings.BlockCaret ? 0 : 2 * (cell() - inset());
        ASSERT_EQ(ui.caretX, int(10 + fromTop % n) * cell() + inset());
        ASSERT_EQ(ui.caretY, int(fromTop / n) * 2 * cell() + lineY);
        ASSERT_EQ(s.grid.columns, n + 10);
        ASSERT_EQ(s.grid.rows, rows());
        ASSERT_EQ(s.grid.cells, wantGrid());
        ASSERT_EQ(s.grid.filledCells, (shown - 1) / n * (n + 10) + 10 + (shown - 1) % n + 1);
        ui.paint(s);
        ASSERT_EQ(ui.screen, s.grid.cells) << "the screen was not repainted";
        if (want.caret % 4 == 0) expectCaretRowPixels();
    }
    // The caret's row as painted reads back as the grid: a character's glyph,
    // or a byte's high digit over its low digit raised by the inset, and
    // nothing past the file's end in Hex. Every pixel of it is painted.
    void expectCaretRowPixels() {
        int cw = cell();
        int width = ui.client.width;
        int row = s.grid.caretRow;
        constexpr uint32_t Unpainted = 0x5A5A5A5A;
        vector<uint32_t> band(size_t(width * 2 * cw), Unpainted);
        PixelSurface out{band.data(), width, 2 * cw, width, row * 2 * cw};
        RenderDataWindow(s, out);
        ASSERT_EQ(count(band.begin(), band.end(), Unpainted), 0);
        auto read = [&](int x, int y) {  // eight pixels as bits, ink (0) as 1
            int v = 0;
            for (int i = 0; i < 8; ++i) v = v << 1 | (band[size_t(y * width + x + i)] == 0);
            return v;
        };
        ScreenGrid& g = s.grid;
        for (int c = 0; c < g.columns && inset() + (c + 1) * cw <= width; ++c) {
            int v = g.at(row, c);
            bool hex = s.settings.FontType == 1 && c >= 10;
            bool past = row * g.columns + c >= g.filledCells;
            int high = hex && !past ? 0xF0 | v >> 4 : 0;
            int low = hex && !past ? 0xF0 | (v & 15) : 0;
            ASSERT_EQ(read(inset() + c * cw, 0), hex ? high : v) << "cell " << c;
            ASSERT_EQ(read(inset() + c * cw, cw - inset()), low) << "cell " << c;
        }
    }
    void expectBars() {
        ASSERT_EQ(ui.statusText[0], Hex8(want.caret) + "h");
        ASSERT_EQ(ui.statusText[1], "filesize = " + Hex8(want.size) + "h (" + to_string(want.size) + ")");
        ASSERT_TRUE(ui.searchEnabled);
        ASSERT_TRUE(ui.statusTwoParts);
        ASSERT_FALSE(ui.mainWindowClosed);
        ASSERT_EQ(ui.title, t.path);
        // A row a position; arrows only when the file does not fit.
        int64_t range = totalRows() - rows();
        ASSERT_EQ(ui.scrollArrowsEnabled, range >= 1);
        if (range < 1) return;
        ASSERT_EQ(ui.scrollMax, range);
        ASSERT_EQ(ui.scrollPos, want.top / perRow());
        // The thumb: the track (less the arrows) over the screens in the file, at least 5 pixels.
        ASSERT_EQ(ui.thumb, max<int64_t>(5, (ui.client.height - 2 * 17) / (want.size / screen() + 1)));
    }
    void expectSameAsReference(const string& when) {
        SCOPED_TRACE(when);
        ASSERT_TRUE(s.documentOpen());
        ASSERT_EQ(int64_t{s.pages.FileSize}, want.size);
        ASSERT_EQ(t.files.openFiles, 0);
        if (disk == Disk::Gone) {
            ASSERT_FALSE(filesystem::exists(t.path)) << "a save made the vanished file anew";
        }
        ASSERT_EQ(s.Modified, want.edits.empty() ? 0 : 1);
        ASSERT_EQ(int64_t{s.PendingNibbleAddress}, want.pending < 0 ? 0xFFFFFFFFll : want.pending);
        ASSERT_EQ(s.FindPatternLength, remembered);
        expectPages();
        expectScreen();
        expectBars();
    }
};

class EditorModel : public ::testing::TestWithParam<int64_t> {};

TEST_P(EditorModel, RandomSessionsAgreeWithThePlainReference) {
    int64_t size = GetParam();
    for (uint8_t fc = 0; fc < 3 && !HasFailure(); ++fc) {
        SCOPED_TRACE("FontCell " + to_string(fc));
        EditorRun r(size, Clients[(size + fc) % 3], fc);
        r.expectSameAsReference("after opening");
        for (int i = 0; i < 400 && !HasFailure(); ++i) {
            if (i % 50 == 0) r.setDisk(i % 150 < 100 ? Disk::Sound : Disk(1 + (i / 150 + fc) % 2));
            // Now and then one kind of step is repeated, so that long runs
            // cross page borders and reach the ends of the file.
            Op op = Op(r.random(int64_t(Op::Count)));
            int64_t repeats = r.random(4) == 0 ? 1 + r.random(24) : 1;
            for (int64_t k = 0; k < repeats && !HasFailure(); ++k) {
                r.step(op);
                r.expectSameAsReference(to_string(i) + " " + r.what);
            }
        }
        r.setDisk(Disk::Sound);
        // No write astray.
        if (size < TwoGiB) {
            EXPECT_EQ(r.onDisk(0, size), r.want.small);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(FileSizes, EditorModel,
                         ::testing::Values(1, 15, 16, 17, 100, P - 1, P, P + 1, 3 * P + 17, 11141120, 11141121,
                                           TwoGiB));

}  // namespace
}  // namespace vop
