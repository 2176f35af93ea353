// The hex entry fields against their plain models (support/field_models.h)
// on seeded random input, with the Goto dialog's reading of its field, and
// the glyph strokes the fields paint with.
#include <gtest/gtest.h>

#include <memory>
#include <random>

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
