// The hex entry fields against plain models, and the glyph strokes they paint with.
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <random>
#include <tuple>
#include <vector>
#include "state/glyphs.h"
#include "dialogs/address_field_model.h"
#include "dialogs/edit_field_model.h"
#include "view/glyph_lines.h"

namespace vop {
namespace {

using Bytes = std::vector<std::uint8_t>;
using fieldkey::Backspace, fieldkey::Delete, fieldkey::End, fieldkey::Home, fieldkey::Left, fieldkey::Right;

// The plain models' rules. The keys 0-9, A-F and keypad 0-9 are digits; only the
// low byte of a key code counts.
int ModelDigit(unsigned key) {
    const int k = static_cast<int>(key & 0xFF);
    return k >= '0' && k <= '9' ? k - '0' : k >= 'A' && k <= 'F' ? k - 'A' + 10 : k >= 96 && k <= 105 ? k - 96 : -1;
}

// Where a move key puts the caret over `size` filled positions of `room`; -1 for other keys.
int Moved(unsigned k, int caret, int size, int room) {
    if (k == Left) return std::max(caret - 1, 0);
    if (k == Right) return std::min({caret + 1, size, room - 1});
    if (k == End) return std::min(size, room - 1);
    return k == Home ? 0 : -1;
}

unsigned RandomKey(std::mt19937& rng) {
    static constexpr unsigned moves[] = {Left, Right, End, Home, Backspace, Delete};
    const unsigned kind = rng() % 3;  // a move, a digit, or anything with high bits included
    return kind == 0 ? moves[rng() % 6] : kind == 1 ? "0123456789ABCDEF"[rng() % 16] : rng() % 0x400;
}

// The characters a field should draw, and those it does; one off its position
// (8 pixels each, starting 1 in) reads as '?'.
Bytes HexText(Bytes d) { for (auto& x : d) x = HexDigitChar(x); return d; }
Bytes Drawn(const std::vector<FieldGlyph>& g) {
    Bytes codes;
    for (std::size_t j = 0; j < g.size(); ++j) codes.push_back(g[j].x == int(8 * j + 1) ? g[j].code : '?');
    return codes;
}

// ---- Random keys and values never put the caret out of range, the count stays within
// capacity, and digits, caret, glyphs and the "Default" sound match a plain model.
TEST(AddressField, RandomKeysFollowThePlainModel) {
    std::mt19937 rng(1234);
    for (int run = 0; run < 400; ++run) {
        const int cap = 1 + static_cast<int>(rng() % 8);
        AddressFieldState s = MakeAddressFieldState(cap);
        Bytes d;  // the model: digits and a caret
        int caret = 0;
        for (int step = 0; step < 200; ++step) {
            const int size = static_cast<int>(d.size());
            if (rng() % 50 == 0) {  // the dialog hands a value in now and then
                Bytes in(rng() % 12);
                for (auto& b : in) b = static_cast<std::uint8_t>(rng());
                AddressFieldSetDigits(s, in.size(), in.data());
                d.clear(), caret = 0;
                for (std::size_t i = 0; i < in.size() && i < Bytes::size_type(cap); ++i) d.push_back(in[i] & 15);
                continue;
            }
            const unsigned key = RandomKey(rng), k = key & 0xFF;
            bool refused = false;
            if (Moved(k, caret, size, cap) >= 0) caret = Moved(k, caret, size, cap);
            else if (k == Backspace && caret > 0) d.erase(d.begin() + --caret);
            else if (k == Delete && caret < size) d.erase(d.begin() + caret);
            else if (ModelDigit(k) >= 0 && !(refused = size == cap)) {
                d.insert(d.begin() + caret, static_cast<std::uint8_t>(ModelDigit(k)));
                caret = std::min(caret + 1, cap - 1);
            }
            ASSERT_EQ(AddressFieldKeyDown(s, key).playDefaultSound, refused);
            ASSERT_TRUE(s.count >= 0 && s.count <= cap && s.caretPos >= 0 && s.caretPos <= cap - 1);
            ASSERT_EQ(s.caretPos, caret) << "run " << run << " step " << step << " key " << key;
            ASSERT_EQ(Bytes(s.digits.begin(), s.digits.begin() + s.count), d) << "run " << run << " step " << step;
            ASSERT_EQ(Drawn(AddressFieldGlyphs(s)), HexText(d));
        }
    }
}

// ---- Insert mode, the full field, removal at the ends, and stale slots after a
// delete, read back the way the dialog reads them.
TEST(AddressField, EdgeCases) {
    struct Case { std::vector<unsigned> keys; std::uint32_t value; int count, caret; bool repaint, sound; };
    const Case cases[] = {
        {{'1', '2', '3', Home, '4'}, 0x4123, 4, 1, true, false},
        {{'1', '2', '3', '4', '5', '6', '7', '8', Home, '9'}, 0x12345678, 8, 0, true, true},
        {{'1', '2', '3', '4', '5', '6', '7', '8', Home, '9', End}, 0x12345678, 8, 7, false, false},
        {{'A', 'B', 'C', Home, Backspace}, 0xABC, 3, 0, false, false},
        {{'A', 'B', 'C', End, Delete}, 0xABC, 3, 3, false, false},
        {{'1', '2', '3', '4', '5', Home, Delete}, 0x2345, 4, 0, true, false},
    };
    for (const Case& c : cases) {
        AddressFieldState s = MakeAddressFieldState(8);
        FieldOutcome o;
        for (unsigned k : c.keys) o = AddressFieldKeyDown(s, k);
        std::uint8_t slots[8];
        std::int32_t count = -1;
        AddressFieldGetDigits(s, slots, &count);
        EXPECT_EQ(std::tie(count, s.caretPos, o.repaint, o.playDefaultSound),
                  std::tie(c.count, c.caret, c.repaint, c.sound));
        EXPECT_EQ(AddressFieldValue(slots, count), c.value);
        EXPECT_EQ(GotoDialogTarget(slots, count, c.value + 1), c.value);
        // Goto goes nowhere when the caret is already there or the field is empty.
        EXPECT_FALSE(GotoDialogTarget(slots, count, c.value) || GotoDialogTarget(slots, 0, c.value + 1));
    }
}

// ---- Random keys, characters and clicks in both modes, with and without wrap: the
// caret stays on a position, and caret, value and glyphs match a plain model.
TEST(EditField, RandomInputFollowsThePlainModel) {
    std::mt19937 rng(99);
    for (int run = 0; run < 400; ++run) {
        const int length = 1 + static_cast<int>(rng() % 4);
        const bool hex = rng() % 4 != 0, wrap = rng() % 2 == 0;
        EditFieldState s = MakeEditFieldState(hex, wrap, length);
        const int p = hex ? 2 * length : length;
        Bytes pos(static_cast<std::size_t>(p), 0);  // the model: a nibble or a byte per position
        int caret = 0;
        auto put = [&](int v) { pos[caret] = v & 0xFF; caret = wrap ? (caret + 1) % p : std::min(caret + 1, p - 1); };
        for (int step = 0; step < 200; ++step) {
            const unsigned what = rng() % 10, key = RandomKey(rng), k = key & 0xFF, x = rng() % (8 * p + 24);
            const bool inside = x != 0 && x < static_cast<unsigned>(8 * p + 1);
            if (what < 6) {
                if (Moved(k, caret, p, p) >= 0) caret = Moved(k, caret, p, p);
                else if (hex && ModelDigit(k) >= 0) put(ModelDigit(k));
                EditFieldKeyDown(s, key);
            } else if (what < 8) {
                if (!hex) put(static_cast<int>(key));
                EditFieldChar(s, key);
            } else {
                if (inside) caret = static_cast<int>((x - 1) / 8);
                const FieldOutcome o = EditFieldClick(s, x);
                ASSERT_TRUE(o.takeFocus && o.placeCaret == inside);
            }
            ASSERT_TRUE(s.caretPos >= 0 && s.caretPos <= p - 1);
            ASSERT_EQ(s.caretPos, caret) << "run " << run << " step " << step;
            Bytes text = hex ? HexText(pos) : pos;  // every digit or character of the value, in place
            if (hex) text.push_back('h');
            ASSERT_EQ(Drawn(EditFieldGlyphs(s)), text) << "run " << run << " step " << step;
        }
    }
}

// ---- Wrap, the no-wrap third digit, a click on the border pixel, and values
// handed in and out without touching the caret or a byte beyond the value.
TEST(EditField, EdgeCases) {
    EditFieldState wrap = MakeEditFieldState(1, 1, 1), stay = MakeEditFieldState(1, 0, 1);
    for (unsigned k : {'7', 'F'}) EditFieldKeyDown(wrap, k);
    for (unsigned k : {'1', '2', '3'}) EditFieldKeyDown(stay, k);  // the third digit replaces the low digit
    std::uint8_t out[3] = {0, 0, 9};
    EditFieldGetValue(wrap, nullptr);  // a value asked for without a buffer is not given
    EditFieldGetValue(wrap, out);
    EditFieldGetValue(stay, out + 1);
    EXPECT_EQ(Bytes(out, out + 3), Bytes({0x7F, 0x13, 9}));
    EXPECT_EQ(std::make_pair(wrap.caretPos, stay.caretPos), std::make_pair(0, 1));
    const FieldOutcome o = EditFieldClick(stay, 0);
    EXPECT_TRUE(o.takeFocus && !o.placeCaret && stay.caretPos == 1);
    const std::uint8_t in[2] = {0xA5, 0xEE};
    EXPECT_TRUE(EditFieldSetValue(stay, in).repaint && stay.bytes == Bytes({0xA5}) && stay.caretPos == 1);
}

// ---- A wrong table, scale or stroke end would misdraw every field.
TEST(GlyphLines, QuadCellTurnsOneBitIntoAFourByFourBlock) {
    auto t = std::make_unique<GlyphTables>();
    t->font8x16[16 * 'A'] = 0x80;
    const std::vector<GlyphStroke> expect = {{10, 20, 14, 20}, {10, 21, 14, 21}, {10, 22, 14, 22}, {10, 23, 14, 23}};
    EXPECT_EQ(GlyphLineStrokes(*t, 10, 20, 'A', 2), expect);
}

}  // namespace
}  // namespace vop
