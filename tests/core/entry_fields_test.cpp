// The entry fields (the Goto dialog's address field, the Modify and Set
// Colors dialogs' hex fields and the Find and Replace dialogs' pattern rows)
// beside their plain models (support/field_models.h)
// on seeded random input, and the glyph strokes they paint with.
#include <gtest/gtest.h>

#include <random>

#include "support/field_models.h"
#include "view/glyph_lines.h"

namespace vop::test {
namespace {

TEST(EntryFields, FollowTheirPlainModels) {
    mt19937 rng;
    for (int run = 0; run < 400; ++run) {
        string input(rng() % 600, ' ');
        for (char& b : input) b = char(rng());
        EXPECT_EQ(DriveAll(input), "") << run;
    }
}

// The fields draw with 8-pixel cells, a pixel a bit, and larger cells a
// square of lines a bit: a wrong table, row, bit order or stroke end would
// misdraw every field.
TEST(GlyphLines, ABitBecomesAPixel) {
    static GlyphTables tables;
    tables.font8x16[16 * 'A' + 3] = 0x20;
    EXPECT_EQ(GlyphLineStrokes(tables, 10, 20, 'A', 0), vector<GlyphStroke>({{12, 23, 13, 24}}));
    EXPECT_EQ(GlyphLineStrokes(tables, 10, 20, 'A', 1), vector<GlyphStroke>({{14, 26, 16, 26}, {14, 27, 16, 27}}));
}

// An address of no digits is 0 whatever its slots still hold; a byte field
// whose caret was left past its digits types into its last one.
TEST(EntryFields, RecordsLeftAsTheyAre) {
    uint8_t stale[] = {5};
    EXPECT_EQ(AddressFieldValue(stale, 0), 0u);
    EditFieldState byte = MakeEditFieldState(1, 1, 1);
    byte.caretPos = 9;
    EditFieldKeyDown(byte, '7');
    EXPECT_EQ(byte.bytes, vector<uint8_t>{7});
}

}  // namespace
}  // namespace vop::test
