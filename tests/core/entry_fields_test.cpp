// The entry fields (the hex fields and the Find and Replace dialogs' pattern
// rows) against their plain models (support/field_models.h) on seeded random
// input, the pattern rows' cases where a wrong rule shows first, and the glyph
// strokes the fields paint with.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <tuple>

#include "support/field_models.h"
#include "view/glyph_lines.h"

namespace vop {
namespace {

TEST(EntryFields, RandomInputFollowsThePlainModels) {
    std::mt19937 rng(1234);
    for (int run = 0; run < 1500 && !HasFailure(); ++run) {
        std::vector<std::uint8_t> input(1 + rng() % 600);
        for (auto& b : input) b = static_cast<std::uint8_t>(rng());
        EXPECT_EQ(test::AddressFieldAgainstModel(input.data(), input.size()), "") << "run " << run;
        EXPECT_EQ(test::EditFieldAgainstModel(input.data(), input.size()), "") << "run " << run;
        EXPECT_EQ(test::PatternFieldsAgainstModel(input.data(), input.size()), "") << "run " << run;
    }
}

// One row of a pair typed into; the bytes are read from the other row, which
// must have been handed every change. Input: '<' Left, '>' Right, '[' Home,
// ']' End, '~' Backspace, '@' a click at the right edge, '^' Ctrl+V of 300
// 'q's; anything else is a key in the hex row and a character in the other.
// (An empty field's WM_GETTEXT writing no bytes is checked by every Bytes.)
TEST(PatternField, EdgeCases) {
    using test::FieldBytes;
    constexpr int A = 0, H = 1, Wide = 4200;
    const FieldBytes full(256, 0x11), ab = {'A', 'B'}, abc = {'A', 'B', 'C'}, forty(40, 0x22);
    const auto with = [](FieldBytes v, std::size_t i, std::uint8_t b) { return v[i] = b, v; };
    const struct { int row, width; FieldBytes start; std::string input; FieldBytes bytes; int caret; } cases[] = {
        {A, 258, {}, "ABC", abc, 3},  {H, 258, ab, "]7E", {'A', 'B', '~'}, 6},  {H, 258, abc, ">>~", {'B', 'C'}, 0},
        {H, 258, abc, ">>>~", {'A', 'C'}, 2},  {H, 258, abc, "@", abc, 6},  {A, 258, abc, "]^", FieldBytes(256, 'q'), 0},
        {A, 258, full, "z", full, 0},  {H, 258, full, ">99", with(full, 0, 0x19), 1},  {A, 258, full, "]>", full, 255},
        {H, Wide, full, "@", full, 511},  {H, 258, forty, std::string(37, '>') + std::string(32, '<'), forty, 4},
    };
    for (const auto& c : cases) {
        test::PatternPair pair(c.start);
        const int r = c.row;
        PatternFieldState& s = pair.rows[(pair.width[r] = c.width, r)];
        for (const unsigned char code : c.input) {
            const std::size_t key = std::string("<>[]~").find(static_cast<char>(code));  // Left, Right, Home, End, Backspace
            if (code == '@') PatternFieldClick(s, static_cast<unsigned>(c.width - 2), c.width);
            else if (code == '^') pair.Hand(r, PatternFieldPaste(s, FieldBytes(300, 'q').data(), 300));
            else if (key != std::string::npos || r == H) pair.Hand(r, PatternFieldKeyDown(s, key != std::string::npos ? "\x25\x27\x24\x23\x08"[key] : code, c.width));
            else pair.Hand(r, PatternFieldChar(s, code, false, c.width));
        }
        const bool inView = s.firstVisible >= 0 && s.caretColumn >= 0 && s.caretColumn < pair.Visible(r);  // the partner at its start
        EXPECT_EQ(std::tuple(pair.Bytes(1 - r), PatternCaretCell(s), PatternCaretCell(pair.rows[1 - r]), inView), std::tuple(c.bytes, c.caret, 0, true)) << c.input;
    }
}


// A wrong table, scale or stroke end would misdraw every field.
TEST(GlyphLines, ABitBecomesABlockOfTheCellsScale) {
    auto t = std::make_unique<GlyphTables>();
    t->font8x16[16 * 'A'] = 0x80;
    EXPECT_EQ(GlyphLineStrokes(*t, 10, 20, 'A', 2), std::vector<GlyphStroke>({{10, 20, 14, 20}, {10, 21, 14, 21}, {10, 22, 14, 22}, {10, 23, 14, 23}}));
    EXPECT_EQ(GlyphLineStrokes(*t, 10, 20, 'A', 0), std::vector<GlyphStroke>({{10, 20, 11, 21}}));
}

}  // namespace
}  // namespace vop
