// The program's entry fields beside plain models, driven by a stream of
// bytes: every input a dialog, the user or another program can give (keys
// with any code, characters, clicks, pastes, values and texts handed in,
// texts read out) is decoded from the stream and applied to the field and
// to its model. After every step the two must agree, a changed picture must
// be repainted and a moved caret placed. The native tests feed seeded
// random streams; the fuzzer feeds its own.
//
// The models hold only what a user or a reader sees: the digits or bytes
// and the caret. Where a pattern row's view starts is the field's choice,
// checked only for showing the caret and the bytes from there on.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "entry_fields/address_field_model.h"
#include "entry_fields/edit_field_model.h"
#include "entry_fields/pattern_field_model.h"

namespace vop::test {

using std::size_t;
using std::string;

// What every run keeps besides its field and its model (the stream of
// inputs, the outcome of the last one, whether the model refused it and
// anything a step found wrong at once), and the plain rules they share.
struct Run {
    const std::uint8_t* stream;
    size_t size;
    size_t at = 0;
    FieldOutcome outcome;
    bool refused = false;
    string wrong;

    unsigned Next() { return at < size ? stream[at++] : 0; }

    // Mostly a key the fields know (Left, Right, End, Home, Backspace,
    // Delete, or one at or beside an end of a digit range), else any; at
    // times with bits above the low byte, which never count.
    unsigned Key() {
        unsigned low = Next() % 4 ? unsigned("%'#$\b./09:@AFG_`ij5Ce"[Next() % 21]) : Next();
        return low | Next() % 4 << 8;
    }

    // Up to `most` characters, digits and others mixed, none a zero.
    string Text(unsigned most) {
        string text(Next() * most / 255, ' ');
        unsigned place = Next();
        unsigned step = Next();
        for (char& c : text) c = "/09:@AFG`afg5Ce\xE9 "[(place += step) % 17];
        return text;
    }

    // Another program's text; an empty one is given as none at all.
    const char* Given(const string& text) { return text.empty() ? nullptr : text.c_str(); }

    std::uint8_t* Raw(string& bytes) { return reinterpret_cast<std::uint8_t*>(bytes.data()); }

    // The value of a hex digit character, or -1 for any other.
    int DigitValue(char c) {
        size_t i = string("0123456789abcdef0123456789ABCDEF").find(c);
        return i == string::npos ? -1 : int(i % 16);
    }

    // The digit a key stands for, or -1: the keys 0-9 and A-F, and the
    // keypad's 0-9, whose codes are those of ` to i. Only the low byte counts.
    int KeyDigit(unsigned key) {
        int low = int(key % 256);
        if (low >= '`' && low <= 'i') return low - '`';
        return DigitValue(char(low));
    }

    // The values of a text's digits, in order, every other character left out.
    string DigitValues(string text) {
        string values;
        for (char c : text)
            if (DigitValue(c) >= 0) values += char(DigitValue(c));
        return values;
    }

    // The digits shown for digit values.
    string Shown(string values) {
        for (char& v : values) v = "0123456789ABCDEF"[v & 15];
        return values;
    }

    // The digit values of bytes, two a byte, high first.
    string Nibbles(string bytes) {
        string values;
        for (char b : bytes) values += {char(b >> 4 & 15), char(b & 15)};
        return values;
    }

    // Bytes from digit values two a byte; the zero put after them makes a
    // last lone digit a high one.
    string Bytes(string values) {
        values += '\0';
        string bytes;
        for (size_t i = 0; i + 1 < values.size(); i += 2) bytes += char(values[i] * 16 + values[i + 1]);
        return bytes;
    }

    // The characters painted, in order; one off its place reads as '?'.
    // The places are 8 pixels apart, the first one pixel in.
    string Drawn(std::vector<FieldGlyph> glyphs) {
        string codes;
        for (FieldGlyph g : glyphs) codes += g.x == 8 * int(codes.size()) + 1 ? char(g.code) : '?';
        return codes;
    }

    // WM_GETTEXT with a buffer of no room, one character, just too small,
    // just right or roomier than any text: "" when it gets as much of the
    // text as fits before a zero, nothing past the buffer, and the count.
    string ReadOut(string fieldText, string shown) {
        size_t rooms[] = {0, 1, shown.size(), shown.size() + 1, 600};
        size_t room = rooms[Next() % 5];
        size_t copied = room == 0 ? 0 : std::min(shown.size(), room - 1);
        string want = shown.substr(0, copied);
        if (room > 0) want += '\0';
        want.resize(room + 1, '#');
        string got(room + 1, '#');
        if (CopyFieldText(fieldText, got.data(), room) != copied) return "the count read out";
        return got == want ? "" : "the text read out";
    }

    // Where a move key puts a caret that may go from 0 to `last`, Left
    // stepping `back` cells; -1 for any other key.
    int Moved(unsigned key, int caret, int last, int back = 1) {
        switch (key % 256) {
            case fieldkey::Left: return std::max(caret - back, 0);
            case fieldkey::Right: return std::min(caret + 1, last);
            case fieldkey::End: return last;
            case fieldkey::Home: return 0;
            default: return -1;
        }
    }
};

// Feeds a run its stream step by step: "" when the field agreed with the
// model after every step, else what differed first and where. The
// "Default" sound plays exactly when the model refuses an input.
template <class FieldRun>
string Drive(const std::uint8_t* bytes, size_t size) {
    FieldRun run{Run{bytes, size}};
    for (int n = 0; run.at < size; ++n) {
        string picture = run.Picture();
        auto caret = run.Caret();
        run.refused = false;
        run.Step();
        string wrong = run.wrong + run.Difference();
        if (run.outcome.playDefaultSound != run.refused) wrong += "the sound";
        if (run.Picture() != picture && !run.outcome.repaint) wrong += "no repaint";
        if (run.Caret() != caret && !run.outcome.placeCaret) wrong += "no caret placed";
        if (!wrong.empty()) return wrong + " at step " + std::to_string(n);
    }
    return "";
}

// The Goto dialog's address field beside its model: the digit values and
// the caret, which never passes the digits nor the last position.
struct AddressRun : Run {
    int asked = int(Next() % 12) - 1;  // the capacity asked for: the field keeps 1 to 8
    int room = std::clamp(asked, 1, 8);
    AddressFieldState field = MakeAddressFieldState(asked);
    string digits;
    int caret = 0;

    string Picture() { return Drawn(AddressFieldGlyphs(field)); }
    int Caret() { return field.caretPos; }
    int Count() { return int(digits.size()); }

    void Step() {
        if (Next() % 8 == 0) SetText();
        else PressKey();
    }

    // Digits insert at the caret; a full field refuses them.
    void PressKey() {
        unsigned key = Key();
        int moved = Moved(key, caret, std::min(Count(), room - 1));
        int digit = KeyDigit(key);
        outcome = AddressFieldKeyDown(field, key);
        if (moved >= 0) caret = moved;
        else if (key % 256 == fieldkey::Backspace && caret > 0) Erase(--caret);
        else if (key % 256 == fieldkey::Delete && caret < Count()) Erase(caret);
        else if (digit >= 0 && Count() == room) refused = true;
        else if (digit >= 0) Insert(digit);
    }

    void Erase(int at) { digits.erase(digits.begin() + at); }

    // The caret moves on, but not past the last position.
    void Insert(int digit) {
        digits.insert(digits.begin() + caret, char(digit));
        caret = std::min(caret + 1, room - 1);
    }

    void SetText() {
        string text = Text(20);
        outcome = AddressFieldSetText(field, Given(text));
        digits = DigitValues(text).substr(0, size_t(room));
        caret = 0;
    }

    // Read out as the Goto dialog reads it (into a slot more than the room
    // of 8, with nothing written past the field's), and where it would jump:
    // to the number the digits spell, unless there are none or the caret is
    // on it.
    string Difference() {
        string slots(9, '#');
        std::int32_t count = -1;
        AddressFieldGetDigits(field, Raw(slots), &count);
        auto value = std::uint32_t(std::stoull("0" + Shown(digits), nullptr, 16));
        std::optional<std::uint32_t> jump;
        if (!digits.empty()) jump = value;
        if (field.caretPos != caret) return "the caret";
        if (slots.substr(0, size_t(count)) != digits) return "the digits";
        if (slots.find_first_not_of('#', size_t(room)) != string::npos) return "a slot past the room";
        if (Picture() != Shown(digits)) return "the glyphs";
        if (ReadOut(AddressFieldText(field), Shown(digits)) != "") return "the text";
        if (AddressFieldValue(field) != value) return "the value";
        if (GotoDialogTarget(Raw(slots), count, ~value) != jump) return "the jump";
        if (GotoDialogTarget(Raw(slots), count, value)) return "a jump to the caret";
        return "";
    }
};

// A Modify or Set Colors dialog's value field beside its model: what each
// position holds (a digit value, or a character) and the caret.
struct EditRun : Run {
    int asked = int(Next() % 6) - 1;  // the length asked for: none below 0
    int length = std::max(asked, 0);
    bool hex = Next() % 4 != 0;
    bool wrap = Next() % 2 == 1;
    EditFieldState field = MakeEditFieldState(hex, wrap, asked);
    string positions = string(size_t(hex ? 2 * length : length), '\0');
    int caret = 0;

    string Value() { return hex ? Bytes(positions) : positions; }
    string Showing() { return hex ? Shown(positions) : positions; }
    string Picture() { return Drawn(EditFieldGlyphs(field)); }
    int Caret() { return field.caretPos; }
    int Last() { return int(positions.size()) - 1; }

    void Step() {
        switch (Next() % 8) {
            case 0: TypeChar(); break;
            case 1: Click(); break;
            case 2: HandValueIn(); break;
            case 3: SetText(); break;
            default: PressKey();
        }
    }

    // Typing replaces the position under the caret, which moves on; past
    // the last it goes back to the first with wrap, else it stays.
    void Put(int v) {
        positions[size_t(caret)] = char(v);
        if (caret < Last()) caret += 1;
        else if (wrap) caret = 0;
    }

    // An empty value has nothing to move over or type into.
    void PressKey() {
        unsigned key = Key();
        outcome = EditFieldKeyDown(field, key);
        if (positions.empty()) return;
        if (Moved(key, caret, Last()) >= 0) caret = Moved(key, caret, Last());
        else if (hex && KeyDigit(key) >= 0) Put(KeyDigit(key));
    }

    void TypeChar() {
        unsigned code = Next() | Next() << 8;
        outcome = EditFieldChar(field, code);
        if (!hex && !positions.empty()) Put(int(code % 256));
    }

    // A click on a position puts the caret there (x 0 is the border); the
    // field takes the focus wherever it is clicked.
    void Click() {
        unsigned end = 8 * unsigned(positions.size()) + 1;
        unsigned x = Next() % (end + 24);
        outcome = EditFieldClick(field, x);
        if (x != 0 && x < end) caret = int(x - 1) / 8;
        if (!outcome.takeFocus) wrong = "the focus";
    }

    // The dialog's value, from a buffer a byte longer than it.
    void HandValueIn() {
        string value = Text(9);
        value.resize(size_t(length) + 1, 'x');
        outcome = EditFieldSetValue(field, Raw(value));
        value.pop_back();
        positions = hex ? Nibbles(value) : value;
    }

    // Another program's text: its digits, or its characters, in order from
    // the first position; zeros where it falls short.
    void SetText() {
        string text = Text(12);
        outcome = EditFieldSetText(field, Given(text));
        string given = hex ? DigitValues(text) : text;
        given.resize(positions.size(), '\0');
        positions = given;
        caret = 0;
    }

    // Read out as the dialog reads it, into a buffer a byte longer.
    string Difference() {
        string value(size_t(length) + 1, '#');
        EditFieldGetValue(field, Raw(value));
        string suffix = hex ? "h" : "";
        if (field.caretPos != caret) return "the caret";
        if (value != Value() + '#') return "the value";
        if (Picture() != Showing() + suffix) return "the glyphs";
        if (ReadOut(EditFieldText(field), Showing()) != "") return "the text";
        return "";
    }
};

// A Find dialog's pair of pattern rows beside their model: the bytes and
// the caret cell of the row typed into, characters or hex as the stream
// chooses. Every change goes to the other row, as the window hands it on,
// and shows there from its start. Only Left and a click look at the view:
// at the left edge Left scrolls a whole byte, and a click counts from the
// first byte shown.
struct PatternRun : Run {
    // No width at all, a byte or so (where a pixel more or less changes the
    // cells shown), the dialogs' width, or room for all 256 bytes.
    static constexpr int Widths[] = {0, 10, 17, 18, 26, 50, 258, 2058, 4200};
    int width = Widths[Next() % 9];
    int r = int(Next() % 2);  // the row typed into: 0 characters, 1 hex
    int w = r + 1;            // its cells a byte
    PatternFieldState rows[2] = {{}, {1}};
    string pattern;
    int caret = 0;
    bool edited = false;

    string Cells(int q) { return q ? Shown(Nibbles(pattern)) : pattern; }
    string Glyphs(int q) { return Drawn(PatternFieldGlyphs(rows[q], width)); }
    string Picture() { return Glyphs(0) + "|" + Glyphs(1); }
    int Caret() { return rows[r].caretColumn; }
    bool Full() { return pattern.size() == 256; }

    // The furthest caret cell: just after the last byte, or on it when full.
    int Last() { return w * int(pattern.size()) - Full(); }

    // Whole bytes of 8-pixel cells after a pixel of margin each side, and
    // never less than one byte.
    int Visible(int q) { return std::max((width - 2) / 8 / (q + 1) * (q + 1), q + 1); }

    void Step() {
        edited = false;
        switch (Next() % 8) {
            case 0: TypeChar(); break;
            case 1: Click(); break;
            case 2: Paste(); break;
            case 3: SetText(); break;
            case 4: Resize(); break;
            default: PressKey();
        }
        if (outcome.updatePartner != edited) wrong = "the partner told";
        if (outcome.updatePartner) HandOn();
    }

    // The partner repaints and hands nothing back.
    void HandOn() {
        FieldOutcome handed = PatternFieldSetBytes(rows[1 - r], size_t(rows[r].length), rows[r].bytes.data());
        if (!handed.repaint || handed.updatePartner) wrong = "the partner's outcome";
    }

    // The row made wider or narrower repaints and places its caret, as a
    // resized window does; the next key brings the caret back into view on
    // the same cell.
    void Resize() {
        width = Widths[Next() % 9];
        outcome = PatternFieldKeyDown(rows[r], 0, width);
        outcome.repaint = true;
        outcome.placeCaret = true;
    }

    // An edit: the content changes (or is given again) and the partner is
    // told of it.
    void Change(string now, int cell) {
        pattern = now.substr(0, 256);
        caret = cell;
        edited = true;
    }

    void PressKey() {
        unsigned key = Key();
        int moved = Moved(key, caret, Last(), rows[r].caretColumn ? 1 : w);
        outcome = PatternFieldKeyDown(rows[r], key, width);
        if (moved >= 0) caret = moved;
        else if (key % 256 == fieldkey::Backspace && caret > 0) Erase((caret - 1) / w);
        else if (key % 256 == fieldkey::Delete && caret / w < int(pattern.size())) Erase(caret / w);
        else if (r == 1 && KeyDigit(key) >= 0) TypeDigit(KeyDigit(key));
    }

    // The caret lands on what takes the byte's place.
    void Erase(int index) {
        string now = pattern;
        now.erase(now.begin() + index);
        Change(now, w * index);
    }

    // Hex entry overwrites the digit under the caret (a high digit clears
    // the low one) or, after the end, appends a byte; it moves on unless
    // the pattern was full.
    void TypeDigit(int digit) {
        string values = Nibbles(pattern);
        if (caret == int(values.size())) values += {0, 0};
        values[size_t(caret)] = char(digit);
        if (caret % 2 == 0) values[size_t(caret) + 1] = 0;
        Change(Bytes(values), Full() ? caret : caret + 1);
    }

    // The character row inserts at the caret and moves on unless the
    // pattern is then full; a full one refuses. Ctrl and Backspace type
    // nothing.
    void TypeChar() {
        unsigned code = Next() | Next() << 8;
        bool ctrl = Next() % 4 == 0;
        outcome = PatternFieldChar(rows[r], code, ctrl, width);
        if (r == 1 || ctrl || code % 256 == '\b') return;
        refused = Full();
        string now = pattern;
        now.insert(now.begin() + caret, char(code));
        if (!refused) Change(now, now.size() == 256 ? caret : caret + 1);
    }

    // A click puts the caret on the cell under it, counted from the first
    // byte shown, but never past the furthest cell nor the last one in
    // view; x 0 and x past the right edge only take the focus.
    void Click() {
        int x = int(Next() | Next() << 8) % (width + 9);
        int first = w * rows[r].firstVisible;
        int cell = std::min({(x - 1) / 8, Visible(r) - 1, Last() - first});
        outcome = PatternFieldClick(rows[r], unsigned(x), width);
        if (x != 0 && x < width) caret = first + cell;
        if (!outcome.takeFocus) wrong = "the focus";
    }

    // Ctrl+V in the character row: the clipboard's text, up to its zero or
    // 256 bytes, replaces the pattern. V alone, a key a bit away from V, or
    // V in the hex row pastes nothing (only the key's low byte counts).
    void Paste() {
        unsigned key = unsigned("VWv\xD6"[Next() % 4]) % 256 | Next() % 2 << 8;
        bool ctrl = Next() % 2 == 1;
        string clip = Text(300) + '\0' + Text(9);
        if (PatternFieldIsPasteKey(rows[r], key, ctrl)) outcome = PatternFieldPaste(rows[r], Raw(clip), clip.size());
        else outcome = PatternFieldKeyDown(rows[r], key, width);
        if (r == 0 && ctrl && key % 256 == 'V') Change(clip.c_str(), 0);
    }

    // Another program's text replaces the pattern as a paste does: the
    // characters in the character row, the digits two a byte in the hex row.
    void SetText() {
        string text = Text(1200);
        outcome = PatternFieldSetText(rows[r], Given(text));
        Change(r ? Bytes(DigitValues(text)) : text, 0);
    }

    // The bytes as the dialog reads them from the character row, into a
    // buffer a byte longer; the row's text, its caret in view and its cells
    // from the first byte in view; the partner's cells from its start.
    string Difference() {
        string got(257, '#');
        std::int32_t length = -1;
        PatternFieldGetBytes(rows[0], &length, Raw(got));
        int first = w * rows[r].firstVisible;
        int column = rows[r].caretColumn;
        if (length != int(pattern.size())) return "the length";
        if (got != pattern + string(257 - pattern.size(), '#')) return "the bytes";
        if (ReadOut(PatternFieldText(rows[r]), Cells(r)) != "") return "the text";
        if (first + column != caret) return "the caret";
        if (first < 0 || column < 0 || column >= Visible(r)) return "a caret out of view";
        if (Glyphs(r) != Cells(r).substr(size_t(first), size_t(Visible(r)))) return "the glyphs";
        if (Glyphs(1 - r) != Cells(1 - r).substr(0, size_t(Visible(1 - r)))) return "the partner";
        return "";
    }
};

}  // namespace vop::test
