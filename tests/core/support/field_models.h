// The program's entry fields against plain models, driven by a stream of
// bytes: every input a dialog or the window system can give (keys with any
// code, characters, clicks, values handed in and read out) is decoded from
// the stream and applied to the field and to a plain model (its digits or
// bytes and a caret). After every step the two must agree on the caret, the
// value and the glyphs painted, and a changed picture or caret must be
// repainted or placed. The native tests feed it seeded random streams; the
// fuzzer feeds it its own.
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

using FieldBytes = std::vector<std::uint8_t>;

struct FieldStream {
    const std::uint8_t* bytes;
    std::size_t size, at = 0;
    unsigned next() { return at < size ? bytes[at++] : 0; }
    // A move or edit key, a digit key, or any code with high bits.
    unsigned key() {
        using namespace fieldkey;
        static constexpr unsigned others[] = {Left, Right, End, Home, Backspace, Delete};
        const unsigned kind = next() % 3;
        return kind == 0 ? others[next() % 6]
                         : kind == 1 ? static_cast<unsigned char>("0123456789ABCDEF"[next() % 16]) : (next() | next() << 8) & 0x3FF;
    }
};

// The digit a key stands for, or -1: the keys 0-9, A-F and keypad 0-9; only the low byte counts.
inline int ModelDigit(unsigned key) {
    const int k = static_cast<int>(key & 0xFF);
    return k >= '0' && k <= '9' ? k - '0' : k >= 'A' && k <= 'F' ? k - 'A' + 10 : k >= 96 && k <= 105 ? k - 96 : -1;
}

// Where a move key puts the caret over `size` filled positions of `room`; -1 for other keys.
inline int ModelMove(unsigned key, int caret, int size, int room) {
    const unsigned k = key & 0xFF;
    return k == fieldkey::Left ? std::max(caret - 1, 0) : k == fieldkey::Right ? std::min({caret + 1, size, room - 1})
         : k == fieldkey::End ? std::min(size, room - 1) : k == fieldkey::Home ? 0 : -1;
}

// The characters drawn, in order; one off its place (8 pixels each, starting 1 in) reads as '?'.
inline FieldBytes Drawn(const std::vector<FieldGlyph>& glyphs) {
    FieldBytes codes;
    for (std::size_t j = 0; j < glyphs.size(); ++j) codes.push_back(glyphs[j].x == int(8 * j + 1) ? glyphs[j].code : '?');
    return codes;
}

inline FieldBytes HexText(FieldBytes digits) {
    for (auto& d : digits) d = HexDigitChar(d);
    return digits;
}

inline std::vector<FieldGlyph> Glyphs(const AddressFieldState& s) { return AddressFieldGlyphs(s); }
inline std::vector<FieldGlyph> Glyphs(const EditFieldState& s) { return EditFieldGlyphs(s); }

// Runs the stream through `step` (one input on the field and the model;
// returns the outcome, or sets `wrong`), then compares the field with
// `expected` glyphs and `caret` after every step.
template <class Field, class Step, class Expected>
std::string RunStream(Field& field, FieldStream& in, int& caret, Step step, Expected expected) {
    for (int n = 0; in.at < in.size; ++n) {
        const FieldBytes before = Drawn(Glyphs(field));
        const int caretBefore = field.caretPos;
        std::string wrong;
        const FieldOutcome o = step(wrong);
        const FieldBytes drawn = Drawn(Glyphs(field));
        if (wrong.empty()) wrong = field.caretPos != caret ? "the caret" : drawn != expected() ? "the glyphs"
                                 : drawn != before && !o.repaint ? "a change without a repaint"
                                 : field.caretPos != caretBefore && !o.placeCaret ? "a caret moved but not placed" : "";
        if (!wrong.empty()) return wrong + " at step " + std::to_string(n);
    }
    return "";
}

// "" when the address field followed the model all the way, else the first difference.
inline std::string AddressFieldAgainstModel(const std::uint8_t* bytes, std::size_t size) {
    FieldStream in{bytes, size};
    const int room = 1 + static_cast<int>(in.next() % 8);
    AddressFieldState s = MakeAddressFieldState(room);
    FieldBytes digits;  // the model
    int caret = 0;
    return RunStream(s, in, caret, [&](std::string& wrong) {
        FieldOutcome o;
        if (in.next() % 16 == 0) {  // the dialog hands a value in
            FieldBytes value(in.next() % 12);
            for (auto& v : value) v = static_cast<std::uint8_t>(in.next());
            o = AddressFieldSetDigits(s, value.size(), value.data());
            digits.assign(value.begin(), value.begin() + std::min<std::ptrdiff_t>(room, std::ptrdiff_t(value.size())));
            for (auto& d : digits) d &= 15;
            caret = 0;
        } else {
            const unsigned key = in.key(), k = key & 0xFF;
            const int n = static_cast<int>(digits.size()), moved = ModelMove(key, caret, n, room);
            bool refused = false;
            if (moved >= 0) caret = moved;
            else if (k == fieldkey::Backspace && caret > 0) digits.erase(digits.begin() + --caret);
            else if (k == fieldkey::Delete && caret < n) digits.erase(digits.begin() + caret);
            else if (ModelDigit(k) >= 0 && !(refused = n == room)) {
                digits.insert(digits.begin() + caret, static_cast<std::uint8_t>(ModelDigit(k)));
                caret = std::min(caret + 1, room - 1);
            }
            o = AddressFieldKeyDown(s, key);
            if (o.playDefaultSound != refused) wrong = "the refusal sound";
        }
        std::uint8_t slots[AddressFieldRoom];
        std::int32_t count = -1;
        AddressFieldGetDigits(s, slots, &count);  // read out as the Goto dialog does
        std::uint32_t value = 0;
        for (std::uint8_t d : digits) value = value << 4 | d;
        // Goto goes to the address the digits spell: nowhere for none, or for the address the caret is on.
        const std::optional<std::uint32_t> target = GotoDialogTarget(slots, count, ~value), none;
        if (FieldBytes(slots, slots + std::max(count, 0)) != digits || target != (digits.empty() ? none : value) ||
            GotoDialogTarget(slots, count, value)) wrong = "the value";
        return o;
    }, [&] { return HexText(digits); });
}

// "" when the edit field (both modes, with and without wrap) followed the model, else the first difference.
inline std::string EditFieldAgainstModel(const std::uint8_t* bytes, std::size_t size) {
    FieldStream in{bytes, size};
    const unsigned setup = in.next();
    const int length = 1 + static_cast<int>(setup % 4);
    const bool hex = setup / 4 % 4 != 0, wrap = setup / 16 % 2;
    EditFieldState s = MakeEditFieldState(hex, wrap, length);
    const int p = hex ? 2 * length : length;
    FieldBytes pos(static_cast<std::size_t>(p), 0);  // the model: a nibble or a byte per position
    int caret = 0;
    const auto put = [&](unsigned v) {
        pos[static_cast<std::size_t>(caret)] = static_cast<std::uint8_t>(v);
        caret = wrap ? (caret + 1) % p : std::min(caret + 1, p - 1);
    };
    const auto nibbles = [&](const FieldBytes& v, int i) { return hex ? v[std::size_t(i / 2)] >> (i % 2 ? 0 : 4) & 15 : v[std::size_t(i)]; };
    return RunStream(s, in, caret, [&](std::string& wrong) {
        const unsigned what = in.next() % 16;
        FieldOutcome o;
        if (what < 9) {
            const unsigned key = in.key();
            if (ModelMove(key, caret, p, p) >= 0) caret = ModelMove(key, caret, p, p);
            else if (hex && ModelDigit(key) >= 0) put(static_cast<unsigned>(ModelDigit(key)));
            o = EditFieldKeyDown(s, key);
        } else if (what < 12) {
            const unsigned code = in.next() | in.next() << 8;
            if (!hex) put(code & 0xFF);
            o = EditFieldChar(s, code);
        } else if (what < 15) {
            const unsigned x = in.next() % static_cast<unsigned>(8 * p + 24);
            const bool inside = x != 0 && x < static_cast<unsigned>(8 * p + 1);  // x 0 is the border
            if (inside) caret = static_cast<int>((x - 1) / 8);
            o = EditFieldClick(s, x);
            if (!o.takeFocus || o.placeCaret != inside) wrong = "the click";
        } else {  // a value handed in; a request without a buffer is not answered
            FieldBytes value(static_cast<std::size_t>(length) + 1);
            for (auto& v : value) v = static_cast<std::uint8_t>(in.next());
            o = EditFieldSetValue(s, value.data());
            for (int i = 0; i < p; ++i) pos[std::size_t(i)] = static_cast<std::uint8_t>(nibbles(value, i));
            EditFieldGetValue(s, nullptr);
        }
        FieldBytes out(static_cast<std::size_t>(length) + 1, 0xEE);
        EditFieldGetValue(s, out.data());
        for (int i = 0; i < p; ++i)
            if (nibbles(out, i) != pos[std::size_t(i)]) wrong = "the value";
        if (out.back() != 0xEE) wrong = "a byte beyond the value";
        return o;
    }, [&] {  // every digit or character in place, and the 'h' of a hex value
        FieldBytes text = hex ? HexText(pos) : pos;
        return hex ? (text.push_back('h'), text) : text;
    });
}

// A Find dialog's pair of pattern rows, characters (0) and hex (1), each
// `width` pixels wide; Hand gives a change of content to the other row.
struct PatternPair {
    PatternFieldState rows[2] = {{}, {1}};
    int width[2] = {258, 258};
    explicit PatternPair(const FieldBytes& start = {}) { for (auto& r : rows) PatternFieldSetBytes(r, start.size(), start.data()); }
    FieldOutcome Hand(int r, FieldOutcome o) {  // a change goes to the other row, as the window sends it
        return o.updatePartner ? (PatternFieldSetBytes(rows[1 - r], std::size_t(rows[r].length), rows[r].bytes.data()), o) : o;
    }
    // What WM_GETTEXT gives; 999 bytes for a length beyond the record's or a byte written past it.
    FieldBytes Bytes(int r) const {
        FieldBytes out(PatternFieldCapacity + 1, 0xEE);
        std::int32_t n = -1;
        PatternFieldGetBytes(rows[r], &n, out.data());
        return n < 0 || n != rows[r].length || out[std::size_t(n)] != 0xEE ? FieldBytes(999) : FieldBytes(out.begin(), out.begin() + n);
    }
    int Visible(int r) const { return std::max((width[r] - 2) / 8 / (r + 1) * (r + 1), r + 1); }
    FieldBytes Drawn(int r) const { return test::Drawn(PatternFieldGlyphs(rows[r], width[r])); }
};

// "" when a pair of pattern rows, narrow, as in the dialogs or wide enough for
// every byte, followed the plain model (the bytes, a caret cell per row) all
// the way, else the first difference. A row handed a change repaints by the
// same WM_SETTEXT rule the dialog's values check. Only Left and a click look at the view:
// at the left edge the hex row scrolls a whole byte; a click counts from the
// first byte shown.
inline std::string PatternFieldsAgainstModel(const std::uint8_t* bytes, std::size_t size) {
    FieldStream in{bytes, size};
    PatternPair pair;
    for (int& w : pair.width) w = in.next() % 3 == 0 ? int(in.next() % 40) : in.next() % 2 ? 258 : int(20 + 12 * in.next());
    FieldBytes model;  // and a caret cell per row
    int caret[2] = {0, 0};
    const auto text = [&](bool toZero) {  // up to 511 bytes a + j·b, and what a field takes of them
        FieldBytes t(in.next() | in.next() % 2 << 8);
        for (unsigned j = 0, a = in.next(), b = in.next(); j < t.size(); ++j) t[j] = static_cast<std::uint8_t>(a + j * b);
        const auto end = t.begin() + std::min<std::ptrdiff_t>(std::ptrdiff_t(t.size()), 256);
        return std::pair{t, FieldBytes(t.begin(), toZero ? std::find(t.begin(), end, 0) : end)};
    };
    for (int n = 0; in.at < in.size; ++n) {
        const int r = int(in.next() % 2), w = r + 1, t = w * int(model.size()), full = model.size() == 256, what = int(in.next() % 16);
        PatternFieldState& s = pair.rows[r];
        const int column0 = s.caretColumn;
        int& p = caret[r];
        const FieldBytes drawn0 = pair.Drawn(r);
        bool refused = false, edited = false;
        FieldOutcome o;
        if (what < 9) {
            const unsigned key = in.key(), k = key & 0xFF;
            const int i = (p - 1) / w, d = r ? ModelDigit(k) : -1;
            if (k == fieldkey::Left && p > 0) p -= r && s.caretColumn == 0 ? 2 : 1;
            else if (k == fieldkey::Right && p < t - full) ++p;
            else if (k == fieldkey::Home || k == fieldkey::End) p = k == fieldkey::Home ? 0 : t - full;
            else if (k == fieldkey::Backspace && p > 0) model.erase(model.begin() + i), p = w * i, edited = true;
            else if (k == fieldkey::Delete && p / w < int(model.size())) model.erase(model.begin() + p / w), p = p / w * w, edited = true;
            else if ((edited = d >= 0) && p / 2 == int(model.size())) model.push_back(static_cast<std::uint8_t>(d << 4)), ++p;  // appends
            else if (edited) model[std::size_t(p / 2)] = static_cast<std::uint8_t>(p % 2 ? (model[std::size_t(p / 2)] & 0xF0) | d : d << 4), p += !full;
            o = pair.Hand(r, PatternFieldKeyDown(s, key, pair.width[r]));
        } else if (what < 12) {
            const unsigned code = in.next() | in.next() << 8, ctrl = in.next() % 4 == 0;
            if (!r && !ctrl && (code & 0xFF) != 8 && !(refused = full))
                model.insert(model.begin() + p, static_cast<std::uint8_t>(code)), p += model.size() < 256, edited = true;
            o = pair.Hand(r, PatternFieldChar(s, code, ctrl, pair.width[r]));
        } else if (what < 14) {
            const unsigned x = (in.next() | in.next() << 8) % unsigned(pair.width[r] + 9);
            if (x != 0 && int(x) < pair.width[r]) p = w * s.firstVisible + std::min({int(x - 1) / 8, pair.Visible(r) - 1, t - full - w * s.firstVisible});
            if (!(o = PatternFieldClick(s, x, pair.width[r])).takeFocus) return "the click at step " + std::to_string(n);
        } else if (what == 14) {  // Ctrl+V or V (only the low byte of the key counts)
            const unsigned key = 'V' | in.next() % 2 << 8, ctrl = in.next() % 2;
            const auto [clip, taken] = text(true);
            if ((edited = !r && ctrl)) model = taken, p = 0;
            o = pair.Hand(r, PatternFieldIsPasteKey(s, key, ctrl) ? PatternFieldPaste(s, clip.data(), clip.size()) : PatternFieldKeyDown(s, key, pair.width[r]));
        } else {  // the dialog sets both rows, any count: repainted, not handed on, the platform caret left alone
            const auto [value, taken] = text(false);
            model = taken, caret[0] = caret[1] = 0, o.placeCaret = o.repaint = true;
            for (auto& q : pair.rows) {
                const FieldOutcome set = PatternFieldSetBytes(q, value.size(), value.data());
                if (set.placeCaret || set.updatePartner || !set.repaint) return "a value set at step " + std::to_string(n);
            }
        }
        if (edited) caret[1 - r] = 0;  // the partner shows the change from its start
        std::string wrong = o.playDefaultSound != refused ? "the refusal sound"
                          : s.caretColumn != column0 && !o.placeCaret ? "a caret moved but not placed" : "";
        for (int q : {0, 1}) {
            const PatternFieldState& f = pair.rows[q];
            FieldBytes cells;  // the characters or digits from the first byte shown, as many as fit
            for (std::size_t i = std::size_t(f.firstVisible); i < model.size(); ++i)
                for (int d = q; d >= 0; --d) cells.push_back(static_cast<std::uint8_t>(q ? model[i] >> 4 * d & 15 : model[i]));
            cells.resize(std::min(cells.size(), std::size_t(pair.Visible(q))));
            if (pair.Bytes(q) != model) wrong = "the bytes";
            else if (PatternCaretCell(f) != caret[q] || f.caretColumn < 0 || f.caretColumn >= pair.Visible(q) || f.firstVisible < 0) wrong = "the caret";
            else if (pair.Drawn(q) != (q ? HexText(cells) : cells)) wrong = "the glyphs";
            else if (q == r && pair.Drawn(q) != drawn0 && !o.repaint) wrong = "a change without a repaint";
        }
        if (!wrong.empty()) return wrong + " at step " + std::to_string(n);
    }
    return "";
}

}  // namespace vop::test
