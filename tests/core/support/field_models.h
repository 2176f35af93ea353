// The program's entry fields beside plain models, driven by a stream of
// bytes: every input a dialog, the user or another program can give (keys,
// characters, clicks, pastes, values and texts handed in, texts read out)
// is decoded from the stream and applied to the field and to its model.
// After every step the two must agree, a changed picture must be repainted
// and a moved caret placed. The native tests feed seeded random streams;
// the fuzzer feeds its own.
//
// The fields are made as the dialogs make them: the Goto dialog's address
// field of 8 digits, the Modify and Set Colors dialogs' hex fields, and the
// Find and Replace dialogs' pairs of pattern rows, 258 pixels wide inside
// their edges. The models hold only what a user or a reader sees: the digits
// or characters as shown, and the caret. Where a pattern row's view starts is
// the field's choice, checked only for showing the caret and the cells from
// there on.
#pragma once

#include <algorithm>
#include <cctype>

#include "entry_fields/address_field_model.h"
#include "entry_fields/edit_field_model.h"
#include "entry_fields/pattern_field_model.h"

namespace vop::test {

using namespace std;


// What every run keeps besides its field and its model (the stream of
// inputs, the model's caret, the outcome of the last input, whether the
// model took it as an edit or refused it, and anything a step found wrong
// at once), and the plain rules they share.
struct Run {
    string stream;
    size_t at = 0;
    string cells;
    int caret = 0;
    unsigned key = 0;
    char digit = '.';
    FieldOutcome outcome;
    bool edited = false;
    bool refused = false;
    string wrong;

    unsigned Next() { return at < stream.size() ? uint8_t(stream[at++]) : 0; }

    // A key the fields know (Left, Right, End, Home, Backspace, Delete, V),
    // one beside V or with V's lower-case code, or one at or beside an end
    // of a digit range, and the digit it types as shown ('.' for none). The
    // digits are the keys 0-9 and A-F, and the keypad's 0-9, whose codes are
    // those of ` to i.
    void ReadKey() {
        size_t i = Next() % 25;
        key = unsigned("%'#$\b./09:@AFGVW_`ij5Cevw"[i]);
        digit = ".......09..AF....09.5C5.."[i];
    }

    // Up to `most` characters, digits and others mixed, none a zero.
    string Text(unsigned most) {
        string text(Next() * most / 255, ' ');
        unsigned place = Next();
        unsigned step = Next();
        for (char& c : text) c = "/09:@AFG`afg5Ce\xE9 "[(place += step) % 17];
        return text;
    }

    uint8_t* Raw(string& bytes) { return reinterpret_cast<uint8_t*>(bytes.data()); }

    // Ctrl half the time, and Alt with it (AltGr) or alone now and then.
    HeldKeys Held() {
        unsigned k = Next();
        return {k % 2 == 1, k % 3 == 0};
    }

    // A text's hex digits as shown, in order, every other character left out.
    string DigitsOf(string text) {
        string digits;
        for (char c : text)
            if (isxdigit(uint8_t(c))) digits += char(toupper(c));
        return digits;
    }

    // Bytes as shown in hex: two digits a byte, high first.
    string Hex(string bytes) {
        string digits;
        for (char b : bytes) digits += {"0123456789ABCDEF"[b >> 4 & 15], "0123456789ABCDEF"[b & 15]};
        return digits;
    }

    // The characters painted, in order; one off its place reads as '?'.
    // The places are 8 pixels apart, the first one pixel in.
    string Drawn(vector<FieldGlyph> glyphs) {
        string codes;
        for (FieldGlyph g : glyphs) codes += g.x == 8 * int(codes.size()) + 1 ? char(g.code) : '?';
        return codes;
    }

    // Left, Right, End and Home move the caret within 0 to `last`, Left
    // stepping `back` cells.
    void Move(int last, int back = 1) {
        if (key == fieldkey::Left) caret = max(caret - back, 0);
        if (key == fieldkey::Right) caret = min(caret + 1, last);
        if (key == fieldkey::End) caret = last;
        if (key == fieldkey::Home) caret = 0;
    }

    // Typing inserts at the caret, which moves on; a field holding `room`
    // cells refuses more.
    void Insert(char cell, size_t room) {
        refused = cells.size() == room;
        if (refused) return;
        cells.insert(size_t(caret++), 1, cell);
        edited = true;
    }

    // Backspace removes the item before the caret and Delete the one under
    // it, items being `w` cells wide; the caret lands on what takes the
    // item's place.
    void Erase(int w = 1) {
        if (key == fieldkey::Backspace && caret > 0) caret -= 1;
        else if (key != fieldkey::Delete) return;
        caret = caret / w * w;
        edited = size_t(caret) < cells.size();
        if (edited) cells.erase(size_t(caret), size_t(w));
    }

    // Another program's text, a paste or a text handed in replaces the
    // cells, up to `room` of them, and the caret goes home.
    void Replace(string now, size_t room) {
        cells = now.substr(0, room);
        caret = 0;
        edited = true;
    }
};

// Feeds a run its stream step by step: "" when the field agreed with the
// model after every step, else what differed first. A step is a click, a
// text handed in, a character or (most often) a key. The carets must agree,
// and the "Default" sound plays exactly when the model refuses an input.
template <class FieldRun>
string Drive(string stream) {
    FieldRun run{Run{stream}};
    while (run.at < stream.size()) {
        string picture = run.Picture();
        int caret = run.Caret();
        run.edited = run.refused = false;
        switch (run.Next() % 8) {
            case 0: run.Click(); break;
            case 1: run.SetText(); break;
            case 2: run.TypeChar(); break;
            default: run.PressKey();
        }
        string wrong = run.wrong + run.Difference();
        if (wrong != "") return wrong;
        if (run.Caret() != run.caret) return "the caret";
        if (run.outcome.playDefaultSound != run.refused) return "the sound";
        if (run.Picture() != picture && !run.outcome.repaint) return "no repaint";
        if (run.Caret() != caret && !run.outcome.placeCaret) return "no caret placed";
    }
    return "";
}

// The Goto dialog's address field beside its model: the digits and the
// caret, which never passes the last of the 8 places. It takes no clicks
// nor characters: those steps press keys.
struct AddressRun : Run {
    AddressFieldState field = MakeAddressFieldState(8);

    string Picture() { return Drawn(AddressFieldGlyphs(field)); }
    int Caret() { return field.caretPos; }
    void Click() { PressKey(); }
    void TypeChar() { PressKey(); }

    void PressKey() {
        ReadKey();
        outcome = AddressFieldKeyDown(field, key);
        Move(int(cells.size()));
        if (digit != '.') Insert(digit, 8);
        Erase();
        caret = min(caret, 7);
    }

    void SetText() {
        string text = Text(20);
        outcome = AddressFieldSetText(field, text.c_str());
        Replace(DigitsOf(text), 8);
    }

    // Read out as the Goto dialog reads it, into its 8 slots, and where it
    // would jump: to the number the digits spell, unless there are none or
    // the caret is on it. Read out by another program into a buffer of any
    // room from none (which takes nothing, not even the zero) to more than
    // the digits and a zero need: as many digits as fit before a zero, and
    // their count; the byte after the zero (past the buffer when the digits
    // fill it) is left alone.
    string Difference() {
        uint8_t slots[8] = {};
        int count = -1;
        AddressFieldGetDigits(field, slots, &count);
        auto value = uint32_t(stoul("0" + cells, nullptr, 16));
        size_t room = Next() % 11;
        string want = room ? cells.substr(0, room - 1) + '\0' : "#";
        string text(11, '#');
        text.resize(CopyFieldText(AddressFieldText(field), text.data(), room) + 2);
        if (GotoDialogTarget(slots, count, ~value).value_or(~value) != (cells.empty() ? ~value : value)) return "the jump";
        if (GotoDialogTarget(slots, count, value)) return "a jump to the caret";
        if (Picture() != cells) return "the glyphs";
        if (text != want + '#') return "the text read out";
        return "";
    }
};

// A Find or Replace dialog's pattern row beside its model: the cells as
// shown (characters, or two hex digits a byte, as the stream chooses) and
// the caret cell. A row shows 32 cells: 8 pixels each after a pixel of
// margin each side. Only Left and a click look at the view: at the left
// edge Left scrolls a whole byte, and a click counts from the first cell
// shown.
struct PatternRun : Run {
    int r = int(Next() % 2);  // 0 characters, 1 hex
    int w = r + 1;            // cells a byte
    PatternFieldState row = {uint8_t(r)};
    PatternFieldState partner;
    string clipboard = Text(300) + '\0' + 'x';

    string Picture() { return Drawn(PatternFieldGlyphs(row, 258)); }
    int First() { return w * row.firstVisible; }
    int Caret() { return First() + row.caretColumn; }
    bool Full() { return int(cells.size()) == 256 * w; }

    // The furthest caret cell: just after the last byte, or on it when full.
    int Last() { return int(cells.size()) - Full(); }

    // Ctrl+V in the character row pastes the clipboard's text, up to its
    // zero or 256 bytes, in place of the pattern; V without Ctrl, with AltGr
    // (Ctrl and Alt), or in the hex row, pastes nothing.
    void PressKey() {
        ReadKey();
        HeldKeys held = Held();
        Move(Last(), row.caretColumn ? 1 : w);
        if (!r && held.ctrl && !held.alt && key == 'V') Replace(clipboard.c_str(), 256);
        if (r && digit != '.') TypeDigit();
        Erase(w);
        if (PatternFieldIsPasteKey(row, key, held))
            outcome = PatternFieldPaste(row, Raw(clipboard), clipboard.size());
        else
            outcome = PatternFieldKeyDown(row, key, 258);
    }

    // Hex entry overwrites the digit under the caret (a high digit clears
    // the low one) or, after the end, appends a byte; it moves on unless
    // the pattern was full.
    void TypeDigit() {
        int next = caret + !Full();
        if (caret % 2 == 0) cells.replace(size_t(caret), 2, {digit, '0'});
        else cells[size_t(caret)] = digit;
        caret = next;
        edited = true;
    }

    // The character row inserts, but the 256th byte keeps the caret on it.
    // Ctrl (but AltGr's Ctrl and Alt) and Backspace type nothing, and the hex
    // row takes no characters.
    void TypeChar() {
        HeldKeys held = Held();
        unsigned code = Next();
        outcome = PatternFieldChar(row, code, held, 258);
        if (r || (held.ctrl && !held.alt) || code == '\b') return;
        Insert(char(code), 256);
        if (edited) caret -= Full();
    }

    // A click puts the caret on the cell under it, counted from the first
    // cell shown, but never past the furthest cell nor the last one in
    // view; x 0 and x past the right edge only take the focus.
    void Click() {
        int x = int(Next() * 267 / 255);
        outcome = PatternFieldClick(row, unsigned(x), 258);
        if (x != 0 && x < 258) caret = min({First() + (x - 1) / 8, First() + 31, Last()});
        if (!outcome.takeFocus) wrong = "the focus";
    }

    // Another program's text replaces the pattern as a paste does: the
    // characters in the character row, the digits two a byte in the hex row
    // (a last lone digit a high one); none at all is an empty text.
    void SetText() {
        string text = Text(1200);
        outcome = PatternFieldSetText(row, text.empty() ? nullptr : text.c_str());
        if (r) text = DigitsOf(text);
        if (r && text.size() % 2) text += '0';
        Replace(text, size_t(256 * w));
    }

    // The bytes as the dialog reads them and hands them to the other row,
    // which repaints, on every edit; the row's text, its caret in view and
    // its cells from the first one in view.
    string Difference() {
        string got(256, '#');
        int length = -1;
        PatternFieldGetBytes(row, &length, Raw(got));
        got.resize(size_t(length));
        if (outcome.updatePartner != edited) return "the partner told";
        if (!PatternFieldSetBytes(partner, got.size(), Raw(got)).repaint) return "the partner's repaint";
        if ((r ? Hex(got) : got) != cells) return "the bytes";
        string shown = cells;
        if (!r) replace(shown.begin(), shown.end(), '\0', ZeroByteShown);  // a zero would end the text
        if (PatternFieldText(row) != shown) return "the text";
        if (unsigned(row.caretColumn) > 31) return "a caret out of view";
        if (Picture() != cells.substr(size_t(First()), 32)) return "the glyphs";
        return "";
    }
};

// The Modify dialog's byte (two digits, the caret going round), a Set
// Colors colour (six digits, the caret stopping at the last) and a value
// of characters beside their model: the cells as shown and the caret. A
// digit key in a hex field, or a character in the other, overwrites the
// cell under the caret and moves on; a click puts the caret on the cell
// under it; a text handed in fills the cells from the first, zeros after it,
// and bytes handed to a hex field (the value the Modify and Set Colors
// dialogs open with) show as their digits, the caret staying.
struct EditRun : Run {
    int kind = int(Next() % 3);
    bool hex = kind < 2;
    EditFieldState field = MakeEditFieldState(hex, kind == 0, kind == 0 ? 1 : 3);
    int last = hex ? 2 * field.length - 1 : field.length - 1;
    string shown = string(size_t(last + 1), hex ? '0' : '\0');

    string Picture() { return Drawn(EditFieldGlyphs(field)); }
    int Caret() { return field.caretPos; }

    void Overwrite(char cell) {
        shown[size_t(caret)] = cell;
        caret = kind == 0 ? (caret + 1) % (last + 1) : min(caret + 1, last);
    }
    void PressKey() {
        ReadKey();
        outcome = EditFieldKeyDown(field, key);
        Move(last);
        if (hex && digit != '.') Overwrite(digit);
    }
    void TypeChar() {
        unsigned code = Next();
        outcome = EditFieldChar(field, code);
        if (!hex) Overwrite(char(code));
    }
    void Click() {
        int x = int(Next() * 60 / 255);
        outcome = EditFieldClick(field, unsigned(x));
        if (x != 0 && x <= 8 * (last + 1)) caret = (x - 1) / 8;
        if (!outcome.takeFocus) wrong = "the focus";
    }
    void SetText() {
        string text = Text(10);
        if (hex && text.size() % 2) {
            text.resize(size_t(field.length));
            outcome = EditFieldSetValue(field, Raw(text));
            shown = Hex(text);
            return;
        }
        outcome = EditFieldSetText(field, text.c_str());
        if (hex) text = DigitsOf(text);
        text.resize(shown.size(), hex ? '0' : '\0');
        shown = text;
        caret = 0;
    }
    string Difference() {
        string got(3, '#');
        EditFieldGetValue(field, Raw(got));
        got.resize(size_t(field.length));
        if ((hex ? Hex(got) : got) != shown) return "the value";
        if (EditFieldText(field) != shown) return "the text";
        if (Picture() != shown + (hex ? "h" : "")) return "the glyphs";
        return "";
    }
};

// Every field on one stream: "" when each agreed with its model throughout.
inline string DriveAll(string stream) {
    return Drive<AddressRun>(stream) + Drive<PatternRun>(stream) + Drive<EditRun>(stream);
}

}  // namespace vop::test
