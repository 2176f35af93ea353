// The hex entry fields, the glyph strokes they paint with, and the Modify and
// Goto dialogs' decisions.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "app/editor_state.h"
#include "dialogs/address_field_model.h"
#include "dialogs/edit_field_model.h"
#include "dialogs/field_keys.h"
#include "dialogs/modify_byte.h"
#include "view/glyph_lines.h"

namespace vop {
namespace {

constexpr unsigned KeyOf(char c) { return static_cast<unsigned>(c); }

void Type(EditFieldState& s, const char* keys) {
    for (const char* k = keys; *k; ++k) EditFieldKeyDown(s, KeyOf(*k));
}

void Type(AddressFieldState& s, const char* keys) {
    for (const char* k = keys; *k; ++k) AddressFieldKeyDown(s, KeyOf(*k));
}

std::vector<std::uint8_t> Digits(const AddressFieldState& s) {
    return std::vector<std::uint8_t>(s.digits.begin(), s.digits.begin() + s.count);
}

EditFieldState OneByteField(std::uint8_t value, std::uint8_t wrap) {
    EditFieldState s = MakeEditFieldState(1, wrap, 1);
    EditFieldSetValue(s, &value);
    return s;
}

// ---- Digit keys: a wrong range would let letters past F or punctuation in ----

TEST(DigitKeys, MapsTheThreeKeyRangesAndNothingElse) {
    for (unsigned key = 0; key < 256; ++key) {
        const auto v = DigitKeyValue(key);
        if (key >= '0' && key <= '9') {
            ASSERT_EQ(v, key - '0') << key;
        } else if (key >= 'A' && key <= 'F') {
            ASSERT_EQ(v, key - 'A' + 10) << key;
        } else if (key >= 96 && key <= 105) {
            ASSERT_EQ(v, key - 96) << key;
        } else {
            ASSERT_FALSE(v.has_value()) << key;
        }
    }
}

TEST(DigitKeys, OnlyTheLowByteOfTheKeyCodeCounts) {
    EXPECT_EQ(DigitKeyValue(0x1230), 0);
    EXPECT_EQ(DigitKeyValue(0x100 + 'F'), 15);
    EXPECT_EQ(DigitKeyValue(0x200 + '7'), 7);
    EXPECT_FALSE(DigitKeyValue(0x100 + 'G').has_value());
}

// ---- Edit field in hex mode: nibble placement and the wrap rule ----

TEST(EditFieldHex, ShowsTwoDigitsAndTheSuffix) {
    const EditFieldState s = OneByteField(0x3C, 1);
    const auto glyphs = EditFieldGlyphs(s);
    ASSERT_EQ(glyphs.size(), 3u);
    EXPECT_EQ(glyphs[0].x, 1);
    EXPECT_EQ(glyphs[0].code, '3');
    EXPECT_EQ(glyphs[1].x, 9);
    EXPECT_EQ(glyphs[1].code, 'C');
    EXPECT_EQ(glyphs[2].x, 17);
    EXPECT_EQ(glyphs[2].code, 'h');
}

TEST(EditFieldHex, TwoDigitsReplaceTheByteAndWrapToTheStart) {
    EditFieldState s = OneByteField(0x3C, 1);
    Type(s, "7F");
    EXPECT_EQ(s.bytes[0], 0x7F);
    EXPECT_EQ(s.caretPos, 0);
}

TEST(EditFieldHex, OneDigitReplacesOnlyTheHighNibble) {
    EditFieldState s = OneByteField(0x3C, 1);
    const FieldOutcome o = EditFieldKeyDown(s, '9');
    EXPECT_EQ(s.bytes[0], 0x9C);
    EXPECT_EQ(s.caretPos, 1);
    EXPECT_TRUE(o.placeCaret);
    EXPECT_TRUE(o.repaint);
}

TEST(EditFieldHex, WithoutWrapAThirdDigitReplacesTheLowDigitAgain) {
    EditFieldState s = OneByteField(0x00, 0);
    Type(s, "123");
    EXPECT_EQ(s.bytes[0], 0x13);
    EXPECT_EQ(s.caretPos, 1);
}

TEST(EditFieldHex, KeypadAndLetterDigitsTypeToo) {
    EditFieldState s = MakeEditFieldState(1, 1, 2);
    EditFieldKeyDown(s, 96 + 4);  // keypad 4
    Type(s, "E");
    EditFieldKeyDown(s, 105);     // keypad 9
    Type(s, "A");
    EXPECT_EQ(s.bytes[0], 0x4E);
    EXPECT_EQ(s.bytes[1], 0x9A);
}

TEST(EditFieldHex, MultiByteGlyphsAndSuffixPosition) {
    EditFieldState s = MakeEditFieldState(1, 1, 3);
    const std::uint8_t rgb[3] = {0x80, 0x0F, 0xA5};
    EditFieldSetValue(s, rgb);
    const auto g = EditFieldGlyphs(s);
    ASSERT_EQ(g.size(), 7u);
    const char* expect = "800FA5h";
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(g[i].code, static_cast<std::uint8_t>(expect[i]));
        EXPECT_EQ(g[i].x, static_cast<int>(8 * i + 1));
    }
}

// ---- Edit field navigation: moves never leave the positions, never repaint ----

TEST(EditFieldNavigation, ArrowsStopAtTheEndsAndOnlyPlaceTheCaret) {
    EditFieldState s = MakeEditFieldState(1, 1, 3);  // positions 0..5
    FieldOutcome o = EditFieldKeyDown(s, fieldkey::Left);
    EXPECT_EQ(s.caretPos, 0);
    EXPECT_TRUE(o.placeCaret);
    EXPECT_FALSE(o.repaint);
    EditFieldKeyDown(s, fieldkey::End);
    EXPECT_EQ(s.caretPos, 5);
    o = EditFieldKeyDown(s, fieldkey::Right);
    EXPECT_EQ(s.caretPos, 5);
    EXPECT_FALSE(o.repaint);
    EditFieldKeyDown(s, fieldkey::Left);
    EXPECT_EQ(s.caretPos, 4);
    EditFieldKeyDown(s, fieldkey::Home);
    EXPECT_EQ(s.caretPos, 0);
}

TEST(EditFieldNavigation, OtherKeysAndCharactersAreIgnoredInHexMode) {
    EditFieldState s = OneByteField(0x55, 1);
    for (unsigned key : {8u, 13u, 32u, 46u, unsigned('G'), unsigned('Z'), 106u, 255u}) {
        const FieldOutcome o = EditFieldKeyDown(s, key);
        EXPECT_FALSE(o.placeCaret || o.repaint || o.playDefaultSound) << key;
    }
    const FieldOutcome o = EditFieldChar(s, 'x');
    EXPECT_FALSE(o.placeCaret || o.repaint);
    EXPECT_EQ(s.bytes[0], 0x55);
    EXPECT_EQ(s.caretPos, 0);
}

// ---- Edit field in text mode: characters, not key codes, fill the value ----

TEST(EditFieldText, CharactersReplaceBytesAndDigitKeysDoNothing) {
    EditFieldState s = MakeEditFieldState(0, 1, 2);
    EXPECT_FALSE(EditFieldKeyDown(s, '7').repaint);
    EditFieldChar(s, 'a');
    EditFieldChar(s, 0x1FF);  // only the low byte is stored
    EXPECT_EQ(s.bytes[0], 'a');
    EXPECT_EQ(s.bytes[1], 0xFF);
    EXPECT_EQ(s.caretPos, 0);  // wrapped
    const auto g = EditFieldGlyphs(s);
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(g[1].x, 9);
    EXPECT_EQ(g[1].code, 0xFF);
}

// ---- Edit field clicks: a click outside the positions must not move the caret ----

TEST(EditFieldClick, ClickAtTheBorderPixelOnlyFocuses) {
    EditFieldState s = OneByteField(0, 1);
    s.caretPos = 1;
    const FieldOutcome o = EditFieldClick(s, 0);
    EXPECT_TRUE(o.takeFocus);
    EXPECT_FALSE(o.placeCaret);
    EXPECT_EQ(s.caretPos, 1);
}

TEST(EditFieldClick, ClickRightOfTheLastPositionOnlyFocuses) {
    EditFieldState s = OneByteField(0, 1);  // positions at x 1..8 and 9..16
    for (unsigned x : {17u, 18u, 20u, 65535u}) {
        const FieldOutcome o = EditFieldClick(s, x);
        EXPECT_TRUE(o.takeFocus);
        EXPECT_FALSE(o.placeCaret) << x;
        EXPECT_EQ(s.caretPos, 0);
    }
}

TEST(EditFieldClick, ClicksInsideSelectThePositionUnderThePointer) {
    EditFieldState s = OneByteField(0, 1);
    EXPECT_TRUE(EditFieldClick(s, 16).placeCaret);
    EXPECT_EQ(s.caretPos, 1);
    EditFieldClick(s, 8);
    EXPECT_EQ(s.caretPos, 0);
    EditFieldClick(s, 9);
    EXPECT_EQ(s.caretPos, 1);
    EditFieldClick(s, 1);
    EXPECT_EQ(s.caretPos, 0);
}

// ---- Edit field value transfer: the caret stays, exactly `length` bytes move ----

TEST(EditFieldValue, SetKeepsTheCaretAndGetCopiesExactlyTheValue) {
    EditFieldState s = MakeEditFieldState(1, 1, 3);
    s.caretPos = 4;
    const std::uint8_t in[3] = {1, 2, 3};
    EXPECT_TRUE(EditFieldSetValue(s, in).repaint);
    EXPECT_EQ(s.caretPos, 4);
    std::uint8_t out[5] = {9, 9, 9, 9, 9};
    EditFieldGetValue(s, out);
    EXPECT_EQ(std::vector<std::uint8_t>(out, out + 5), (std::vector<std::uint8_t>{1, 2, 3, 9, 9}));
}

// ---- Edit field records made badly must not crash or write outside the value ----

TEST(EditFieldRobustness, AnEmptyValueIgnoresEveryInput) {
    EditFieldState s = MakeEditFieldState(1, 1, 0);
    for (unsigned key : {unsigned('1'), fieldkey::End, fieldkey::Right, fieldkey::Left}) {
        EXPECT_FALSE(EditFieldKeyDown(s, key).repaint);
        EXPECT_EQ(s.caretPos, 0);
    }
    EXPECT_FALSE(EditFieldClick(s, 1).placeCaret);
    s.hexMode = 0;
    EXPECT_FALSE(EditFieldChar(s, 'a').repaint);
    ASSERT_EQ(EditFieldGlyphs(MakeEditFieldState(1, 1, 0)).size(), 1u);  // just the "h"
}

TEST(EditFieldRobustness, LengthBeyondTheBlockAndCaretOutsideAreKeptIn) {
    EditFieldState s = MakeEditFieldState(1, 1, 1);
    s.length = 100;  // more than the block holds
    s.caretPos = 57;
    EXPECT_EQ(EditFieldPositions(s), 2);
    EditFieldKeyDown(s, '5');
    EXPECT_EQ(s.bytes[0] & 0x0F, 5);
    EXPECT_EQ(s.caretPos, 0);
    s.caretPos = -3;
    EditFieldKeyDown(s, 'A');
    EXPECT_EQ(s.bytes[0], 0xA5);
}

// ---- Address field: insert mode, the full field, removal at the ends ----

TEST(AddressField, DigitsAreInsertedAtTheCaret) {
    AddressFieldState s = MakeAddressFieldState(8);
    Type(s, "123");
    AddressFieldKeyDown(s, fieldkey::Home);
    Type(s, "4");
    EXPECT_EQ(Digits(s), (std::vector<std::uint8_t>{4, 1, 2, 3}));
    EXPECT_EQ(s.caretPos, 1);
    EXPECT_EQ(AddressFieldValue(s), 0x4123u);
}

TEST(AddressField, AFullFieldAsksForTheSoundAndKeepsItsValue) {
    AddressFieldState s = MakeAddressFieldState(8);
    Type(s, "1234567");
    EXPECT_EQ(s.caretPos, 7);
    FieldOutcome o = AddressFieldKeyDown(s, '8');
    EXPECT_FALSE(o.playDefaultSound);
    EXPECT_EQ(s.count, 8);
    EXPECT_EQ(s.caretPos, 7);  // never past the last slot
    AddressFieldKeyDown(s, fieldkey::Home);
    o = AddressFieldKeyDown(s, '9');
    EXPECT_TRUE(o.playDefaultSound);
    EXPECT_TRUE(o.placeCaret);
    EXPECT_TRUE(o.repaint);
    EXPECT_EQ(AddressFieldValue(s), 0x12345678u);
    EXPECT_EQ(s.caretPos, 0);
    AddressFieldKeyDown(s, fieldkey::End);
    EXPECT_EQ(s.caretPos, 7);
}

TEST(AddressField, BackspaceAtTheStartAndDeleteAtTheEndDoNothing) {
    AddressFieldState s = MakeAddressFieldState(8);
    Type(s, "ABC");
    AddressFieldKeyDown(s, fieldkey::Home);
    FieldOutcome o = AddressFieldKeyDown(s, fieldkey::Backspace);
    EXPECT_FALSE(o.repaint || o.placeCaret);
    EXPECT_EQ(s.count, 3);
    AddressFieldKeyDown(s, fieldkey::End);
    EXPECT_EQ(s.caretPos, 3);
    o = AddressFieldKeyDown(s, fieldkey::Delete);
    EXPECT_FALSE(o.repaint || o.placeCaret);
    EXPECT_EQ(Digits(s), (std::vector<std::uint8_t>{10, 11, 12}));
}

TEST(AddressField, BackspaceRemovesLeftOfTheCaretDeleteUnderIt) {
    AddressFieldState s = MakeAddressFieldState(8);
    Type(s, "12345");
    AddressFieldKeyDown(s, fieldkey::Left);
    AddressFieldKeyDown(s, fieldkey::Left);  // caret on the 4
    FieldOutcome o = AddressFieldKeyDown(s, fieldkey::Backspace);
    EXPECT_TRUE(o.placeCaret && o.repaint);
    EXPECT_EQ(Digits(s), (std::vector<std::uint8_t>{1, 2, 4, 5}));
    EXPECT_EQ(s.caretPos, 2);
    o = AddressFieldKeyDown(s, fieldkey::Delete);
    EXPECT_TRUE(o.repaint);
    EXPECT_FALSE(o.placeCaret);  // the caret stays where it is
    EXPECT_EQ(Digits(s), (std::vector<std::uint8_t>{1, 2, 5}));
    EXPECT_EQ(s.caretPos, 2);
}

TEST(AddressField, RightStopsAfterTheLastDigit) {
    AddressFieldState s = MakeAddressFieldState(8);
    Type(s, "12");
    AddressFieldKeyDown(s, fieldkey::Home);
    for (int i = 0; i < 5; ++i) AddressFieldKeyDown(s, fieldkey::Right);
    EXPECT_EQ(s.caretPos, 2);
    AddressFieldKeyDown(s, fieldkey::Left);
    AddressFieldKeyDown(s, fieldkey::End);
    EXPECT_EQ(s.caretPos, 2);
}

TEST(AddressField, NavigationNeverRepaintsAndOtherKeysAreIgnored) {
    AddressFieldState s = MakeAddressFieldState(8);
    Type(s, "5");
    for (unsigned key : {fieldkey::Left, fieldkey::Right, fieldkey::Home, fieldkey::End}) {
        const FieldOutcome o = AddressFieldKeyDown(s, key);
        EXPECT_TRUE(o.placeCaret);
        EXPECT_FALSE(o.repaint);
    }
    for (unsigned key : {13u, 27u, 32u, unsigned('G'), 106u}) {
        const FieldOutcome o = AddressFieldKeyDown(s, key);
        EXPECT_FALSE(o.placeCaret || o.repaint || o.playDefaultSound);
    }
    EXPECT_EQ(Digits(s), (std::vector<std::uint8_t>{5}));
}

// ---- Address field transfer: stale slots must not leak into the value ----

TEST(AddressFieldTransfer, GetAfterDeleteReportsTheNewCountOverStaleSlots) {
    AddressFieldState s = MakeAddressFieldState(8);
    Type(s, "12345");
    AddressFieldKeyDown(s, fieldkey::Home);
    AddressFieldKeyDown(s, fieldkey::Delete);
    std::uint8_t slots[8];
    std::int32_t count = -1;
    AddressFieldGetDigits(s, slots, &count);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(std::vector<std::uint8_t>(slots, slots + 4), (std::vector<std::uint8_t>{2, 3, 4, 5}));
    EXPECT_EQ(AddressFieldValue(slots, count), 0x2345u);
}

TEST(AddressFieldTransfer, SetKeepsCountWithinCapacityAndDigitsWithinAHexDigit) {
    AddressFieldState s = MakeAddressFieldState(8);
    Type(s, "12");
    const std::uint8_t many[20] = {0x1F, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0, 1, 2, 3, 4};
    const FieldOutcome o = AddressFieldSetDigits(s, 20, many);
    EXPECT_TRUE(o.placeCaret && o.repaint);
    EXPECT_EQ(s.count, 8);
    EXPECT_EQ(s.caretPos, 0);
    EXPECT_EQ(AddressFieldValue(s), 0xF2345678u);
    AddressFieldSetDigits(s, 0, many);
    EXPECT_EQ(s.count, 0);
    EXPECT_TRUE(AddressFieldGlyphs(s).empty());
}

TEST(AddressFieldTransfer, GlyphsAreTheDigitCharactersAtTheirPositions) {
    AddressFieldState s = MakeAddressFieldState(8);
    Type(s, "0A9F");
    const auto g = AddressFieldGlyphs(s);
    ASSERT_EQ(g.size(), 4u);
    const char* expect = "0A9F";
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(g[i].x, static_cast<int>(8 * i + 1));
        EXPECT_EQ(g[i].code, static_cast<std::uint8_t>(expect[i]));
    }
}

TEST(AddressFieldTransfer, ACapacityBeyondTheRecordIsKeptToItsRoom) {
    AddressFieldState s;
    s.capacity = 50;
    Type(s, "123456789ABC");
    EXPECT_EQ(s.count, 8);
    std::uint8_t slots[8];
    std::int32_t count = 0;
    AddressFieldGetDigits(s, slots, &count);
    EXPECT_EQ(count, 8);
}

// ---- The value: digits most significant first, unsigned 32 bits ----

TEST(AddressValue, ReadsMostSignificantFirstOverTheFullRange) {
    const std::uint8_t f[8] = {15, 15, 15, 15, 15, 15, 15, 15};
    EXPECT_EQ(AddressFieldValue(f, 8), 0xFFFFFFFFu);
    const std::uint8_t top[8] = {8, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(AddressFieldValue(top, 8), 0x80000000u);
    EXPECT_EQ(AddressFieldValue(top, 1), 8u);
    EXPECT_EQ(AddressFieldValue(top, 0), 0u);
}

TEST(GotoTarget, EmptyFieldOrTheCaretAddressMovesNothing) {
    const std::uint8_t d[8] = {1, 2, 3, 4, 5, 0, 0, 0};
    EXPECT_FALSE(GotoDialogTarget(d, 0, 7).has_value());
    EXPECT_FALSE(GotoDialogTarget(d, 5, 0x12345).has_value());
    EXPECT_EQ(GotoDialogTarget(d, 5, 0x12344), 0x12345u);
    EXPECT_EQ(GotoDialogTarget(d, 1, 0), 1u);
}

// ---- Property: random key sequences match a plain model and stay in bounds ----

struct AddressModel {
    std::vector<std::uint8_t> digits;
    int caret = 0;
    int capacity = 8;

    bool press(unsigned key) {  // returns whether the field is full and refused a digit
        const unsigned k = key & 0xFF;
        const int size = static_cast<int>(digits.size());
        if (k == fieldkey::Left) caret = std::max(caret - 1, 0);
        else if (k == fieldkey::Right) { if (caret < size && caret < capacity - 1) ++caret; }
        else if (k == fieldkey::End) caret = size == capacity ? capacity - 1 : size;
        else if (k == fieldkey::Home) caret = 0;
        else if (k == fieldkey::Backspace) { if (caret > 0) { digits.erase(digits.begin() + caret - 1); --caret; } }
        else if (k == fieldkey::Delete) { if (caret < size) digits.erase(digits.begin() + caret); }
        else if (auto v = DigitKeyValue(k)) {
            if (size == capacity) return true;
            digits.insert(digits.begin() + caret, *v);
            caret = std::min(caret + 1, capacity - 1);
        }
        return false;
    }
};

unsigned RandomFieldKey(std::mt19937& rng) {
    static constexpr unsigned keys[] = {fieldkey::Left, fieldkey::Right, fieldkey::End, fieldkey::Home,
                                        fieldkey::Backspace, fieldkey::Delete};
    switch (rng() % 4) {
        case 0: return keys[rng() % 6];
        case 1: return '0' + rng() % 10;
        case 2: return 'A' + rng() % 6;
        default: return rng() % 0x400;  // anything, high bits included
    }
}

TEST(AddressFieldProperty, RandomKeysFollowTheModelAndStayInBounds) {
    std::mt19937 rng(1234);
    for (int run = 0; run < 400; ++run) {
        const int capacity = 1 + static_cast<int>(rng() % 8);
        AddressFieldState s = MakeAddressFieldState(capacity);
        AddressModel m;
        m.capacity = capacity;
        for (int step = 0; step < 200; ++step) {
            if (rng() % 50 == 0) {  // the dialog hands a value in now and then
                std::uint8_t in[12];
                for (auto& d : in) d = static_cast<std::uint8_t>(rng());
                const std::size_t n = rng() % 12;
                AddressFieldSetDigits(s, n, in);
                m.digits.clear();
                for (std::size_t i = 0; i < std::min<std::size_t>(n, capacity); ++i) m.digits.push_back(in[i] & 15);
                m.caret = 0;
                continue;
            }
            const unsigned key = RandomFieldKey(rng);
            const bool refused = m.press(key);
            const FieldOutcome o = AddressFieldKeyDown(s, key);
            ASSERT_EQ(o.playDefaultSound, refused);
            ASSERT_GE(s.caretPos, 0);
            ASSERT_LE(s.caretPos, capacity - 1);
            ASSERT_LE(s.caretPos, s.count);
            ASSERT_GE(s.count, 0);
            ASSERT_LE(s.count, capacity);
            ASSERT_EQ(s.caretPos, m.caret) << "run " << run << " step " << step << " key " << key;
            ASSERT_EQ(Digits(s), m.digits) << "run " << run << " step " << step;
            std::uint32_t expect = 0;
            for (auto d : m.digits) expect = expect * 16 + d;
            ASSERT_EQ(AddressFieldValue(s), expect);
        }
    }
}

struct EditModel {
    std::vector<std::uint8_t> nibbles;  // hex mode: two per byte, high first
    std::vector<std::uint8_t> chars;    // text mode
    bool hex = true;
    bool wrap = true;
    int caret = 0;

    int positions() const { return static_cast<int>(hex ? nibbles.size() : chars.size()); }
    void advance() {
        if (wrap) caret = caret + 1 == positions() ? 0 : caret + 1;
        else caret = std::min(caret + 1, positions() - 1);
    }
    std::vector<std::uint8_t> value() const {
        if (!hex) return chars;
        std::vector<std::uint8_t> v;
        for (std::size_t i = 0; i < nibbles.size(); i += 2) v.push_back(static_cast<std::uint8_t>(nibbles[i] * 16 + nibbles[i + 1]));
        return v;
    }
};

TEST(EditFieldProperty, RandomInputFollowsTheModelAndStaysInBounds) {
    std::mt19937 rng(99);
    for (int run = 0; run < 400; ++run) {
        const int length = 1 + static_cast<int>(rng() % 4);
        EditModel m;
        m.hex = rng() % 4 != 0;
        m.wrap = rng() % 2 == 0;
        EditFieldState s = MakeEditFieldState(m.hex ? 1 : 0, m.wrap ? 1 : 0, length);
        m.nibbles.assign(m.hex ? 2 * length : 0, 0);
        m.chars.assign(m.hex ? 0 : length, 0);
        const int p = m.positions();
        for (int step = 0; step < 200; ++step) {
            const unsigned what = rng() % 10;
            if (what < 6) {
                const unsigned key = RandomFieldKey(rng);
                const unsigned k = key & 0xFF;
                if (k == fieldkey::Left) m.caret = std::max(m.caret - 1, 0);
                else if (k == fieldkey::Right) m.caret = std::min(m.caret + 1, p - 1);
                else if (k == fieldkey::End) m.caret = p - 1;
                else if (k == fieldkey::Home) m.caret = 0;
                else if (m.hex) {
                    if (auto v = DigitKeyValue(k)) { m.nibbles[static_cast<std::size_t>(m.caret)] = *v; m.advance(); }
                }
                EditFieldKeyDown(s, key);
            } else if (what < 8) {
                const unsigned c = rng() % 0x300;
                if (!m.hex) { m.chars[static_cast<std::size_t>(m.caret)] = static_cast<std::uint8_t>(c); m.advance(); }
                EditFieldChar(s, c);
            } else {
                const unsigned x = rng() % static_cast<unsigned>(8 * p + 24);
                if (x != 0 && x < static_cast<unsigned>(8 * p + 1)) m.caret = static_cast<int>((x - 1) / 8);
                const FieldOutcome o = EditFieldClick(s, x);
                ASSERT_TRUE(o.takeFocus);
            }
            ASSERT_GE(s.caretPos, 0);
            ASSERT_LE(s.caretPos, p - 1);
            ASSERT_EQ(s.caretPos, m.caret) << "run " << run << " step " << step;
            ASSERT_EQ(s.bytes, m.value()) << "run " << run << " step " << step;
        }
    }
}

// ---- Glyph strokes: the wrong table, scale or stroke end would misdraw every field ----

// The pixels a list of strokes sets, with GDI's rule that the end point is not drawn.
std::set<std::pair<int, int>> Rasterise(const std::vector<GlyphStroke>& strokes) {
    std::set<std::pair<int, int>> pixels;
    for (const GlyphStroke& st : strokes) {
        if (st.y0 == st.y1 && st.x1 > st.x0) {
            for (int x = st.x0; x < st.x1; ++x) pixels.insert({x, st.y0});
        } else if (st.x1 == st.x0 + 1 && st.y1 == st.y0 + 1) {
            pixels.insert({st.x0, st.y0});
        } else {
            ADD_FAILURE() << "unexpected stroke shape";
        }
    }
    return pixels;
}

std::set<std::pair<int, int>> ExpectedBlocks(const GlyphTables& t, int x, int y, std::uint8_t code, int scale) {
    std::set<std::pair<int, int>> pixels;
    for (int r = 0; r < 16; ++r) {
        for (int c = 0; c < 8; ++c) {
            if (!(t.font8x16[static_cast<std::size_t>(code) * 16 + r] & (0x80 >> c))) continue;
            for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx) pixels.insert({x + scale * c + dx, y + scale * r + dy});
        }
    }
    return pixels;
}

TEST(GlyphLines, QuadCellTurnsTheTopLeftBitIntoFourStrokesOfAFourByFourBlock) {
    auto t = std::make_unique<GlyphTables>();
    t->font8x16[16 * 'A'] = 0x80;
    const auto strokes = GlyphLineStrokes(*t, 10, 20, 'A', 2);
    const std::vector<GlyphStroke> expect = {
        {10, 20, 14, 20}, {10, 21, 14, 21}, {10, 22, 14, 22}, {10, 23, 14, 23}};
    EXPECT_EQ(strokes, expect);
    EXPECT_EQ(Rasterise(strokes), ExpectedBlocks(*t, 10, 20, 'A', 4));
}

TEST(GlyphLines, NormalCellSetsSinglePixelsWithOneStepDiagonals) {
    auto t = std::make_unique<GlyphTables>();
    t->font8x16[16 * 7 + 3] = 0x01;  // row 3, column 7
    const auto strokes = GlyphLineStrokes(*t, 5, 0, 7, 0);
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0], (GlyphStroke{12, 3, 13, 4}));
}

TEST(GlyphLines, TheGlyphAlwaysComesFromTheEightBySixteenTable) {
    auto t = std::make_unique<GlyphTables>();
    t->font16x32.fill(0xFF);
    t->font32x64.fill(0xFF);
    EXPECT_TRUE(GlyphLineStrokes(*t, 0, 0, 'x', 1).empty());
    EXPECT_TRUE(GlyphLineStrokes(*t, 0, 0, 'x', 2).empty());
}

TEST(GlyphLines, RandomGlyphsRasteriseToTheScaledBitmapAtEveryCellSize) {
    std::mt19937 rng(7);
    auto t = std::make_unique<GlyphTables>();
    for (auto& b : t->font8x16) b = static_cast<std::uint8_t>(rng());
    for (int code : {0, 1, int('M'), 128, 255}) {
        for (std::uint8_t cell = 0; cell <= 2; ++cell) {
            const int x = static_cast<int>(rng() % 100), y = static_cast<int>(rng() % 100);
            const int scale = cell == 0 ? 1 : (cell == 1 ? 2 : 4);
            const auto strokes = GlyphLineStrokes(*t, x, y, static_cast<std::uint8_t>(code), cell);
            EXPECT_EQ(Rasterise(strokes), ExpectedBlocks(*t, x, y, static_cast<std::uint8_t>(code), scale))
                << "code " << code << " cell " << int(cell);
        }
    }
}

// ---- Modify: only a changed byte reaches the page, the grid and Modified ----

struct ModifyFixture : ::testing::Test {
    EditorState s;
    void SetUp() override {
        s.pages.CurrentPage.Bytes = std::make_unique<std::uint8_t[]>(PageSize);
        s.pages.CurrentPage.Length = PageSize;
        s.pages.NextPage.Bytes = std::make_unique<std::uint8_t[]>(PageSize);
        s.pages.NextPage.Length = 100;
        for (std::uint32_t i = 0; i < PageSize; ++i) {
            s.pages.CurrentPage.Bytes[i] = static_cast<std::uint8_t>(i);
            s.pages.NextPage.Bytes[i] = static_cast<std::uint8_t>(i ^ 0x55);
        }
        s.grid.init(16 + AddressCells, 4);
        s.CaretPage = PageSlot::Current;
        s.ScreenPage = PageSlot::Current;
    }
};

TEST_F(ModifyFixture, AnUnchangedValueChangesNothing) {
    s.CaretOffset = 0x1234;
    ASSERT_EQ(CaretByte(s), 0x34);
    EXPECT_FALSE(WriteCaretByte(s, 0x34));
    EXPECT_EQ(s.Modified, 0);
}

TEST_F(ModifyFixture, AChangedValueReachesThePageTheCellAndTheFlag) {
    s.CaretOffset = 0x21;
    s.grid.caretRow = 2;
    s.grid.caretColumn = 1;
    EXPECT_TRUE(WriteCaretByte(s, 0xEE));
    EXPECT_EQ(s.pages.CurrentPage.Bytes[0x21], 0xEE);
    EXPECT_EQ(s.grid.at(2, 11), 0xEE);
    EXPECT_EQ(s.Modified, 1);
    EXPECT_EQ(s.pages.CurrentPage.Bytes[0x20], 0x20);
    EXPECT_EQ(s.pages.CurrentPage.Bytes[0x22], 0x22);
    EXPECT_EQ(s.pages.NextPage.Bytes[0x21], 0x21 ^ 0x55);
}

TEST_F(ModifyFixture, ACaretInTheNextPageChangesThatPage) {
    s.CaretPage = PageSlot::Next;
    s.CaretOffset = 5;
    EXPECT_TRUE(WriteCaretByte(s, 0x00));
    EXPECT_EQ(s.pages.NextPage.Bytes[5], 0x00);
    EXPECT_EQ(s.pages.CurrentPage.Bytes[5], 5);
}

TEST_F(ModifyFixture, ACaretOnNoHeldByteWritesNothing) {
    s.CaretPage = PageSlot::Next;
    s.CaretOffset = 100;  // past the next page's length
    EXPECT_FALSE(CaretByte(s).has_value());
    EXPECT_FALSE(WriteCaretByte(s, 1));
    s.CaretPage = PageSlot::None;
    s.CaretOffset = 0;
    EXPECT_FALSE(WriteCaretByte(s, 1));
    EXPECT_EQ(s.Modified, 0);
}

TEST_F(ModifyFixture, AGridCaretOutsideTheGridStillChangesThePageOnly) {
    s.CaretOffset = 3;
    s.grid.caretRow = 9;  // beyond the 4 rows
    EXPECT_TRUE(WriteCaretByte(s, 0xAB));
    EXPECT_EQ(s.pages.CurrentPage.Bytes[3], 0xAB);
    EXPECT_EQ(std::count(s.grid.cells.begin(), s.grid.cells.end(), 0xAB), 0);
}

}  // namespace
}  // namespace vop
