// The entry fields (the hex fields and the Find and Replace dialogs' pattern
// rows) beside their plain models (support/field_models.h) on seeded random
// input, and the glyph strokes they paint with.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/field_models.h"
#include "view/glyph_lines.h"

namespace vop::test {
namespace {

TEST(EntryFields, FollowTheirPlainModels) {
    std::mt19937 rng(1234);
    for (int run = 0; run < 400 && !HasFailure(); ++run) {
        std::vector<std::uint8_t> input(1 + rng() % 600);
        for (auto& b : input) b = std::uint8_t(rng());
        EXPECT_EQ(Drive<AddressRun>(input.data(), input.size()), "") << run;
        EXPECT_EQ(Drive<EditRun>(input.data(), input.size()), "") << run;
        EXPECT_EQ(Drive<PatternRun>(input.data(), input.size()), "") << run;
    }
}

// A wrong table, scale, stroke end or bit order would misdraw every field.
TEST(GlyphLines, ABitBecomesABlockOfTheCellsScale) {
    static GlyphTables tables;
    tables.font8x16[16 * 'A'] = 0x80;
    std::vector<GlyphStroke> quad = {
        {10, 20, 14, 20},
        {10, 21, 14, 21},
        {10, 22, 14, 22},
        {10, 23, 14, 23},
    };
    std::vector<GlyphStroke> normal = {{10, 20, 11, 21}};
    EXPECT_EQ(GlyphLineStrokes(tables, 10, 20, 'A', 2), quad);
    EXPECT_EQ(GlyphLineStrokes(tables, 10, 20, 'A', 0), normal);
}

}  // namespace
}  // namespace vop::test
