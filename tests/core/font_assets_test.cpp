// Checks the six font files that ship beside the program (resources/fonts),
// read straight from the source tree: sizes, orientation, and that every byte
// value has a picture of its own at every cell size.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#ifndef VOP_SOURCE_DIR
#error "VOP_SOURCE_DIR must name the source tree"
#endif

namespace {

struct FontFile {
    const char* name;
    int glyphs;
    int width;
    int height;
};

const FontFile kCharacterFiles[] = {
    {"font.fnt", 256, 8, 16},
    {"font1.fnt", 256, 16, 32},
    {"font2.fnt", 256, 32, 64},
};

const FontFile kDigitFiles[] = {
    {"digits.fnt", 16, 8, 8},
    {"digits1.fnt", 16, 16, 16},
    {"digits2.fnt", 16, 32, 32},
};

// Rows of a digit cell that the low digit of a stacked pair paints over.
int coveredRows(int cellWidth) { return cellWidth == 8 ? 1 : cellWidth / 8; }

class GlyphTable {
public:
    explicit GlyphTable(const FontFile& f) : file_(f) {
        std::ifstream in(std::string(VOP_SOURCE_DIR) + "/resources/fonts/" + f.name, std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    size_t expectedSize() const { return size_t(file_.glyphs) * bytesPerGlyph(); }
    size_t actualSize() const { return bytes_.size(); }
    bool complete() const { return bytes_.size() == expectedSize(); }

    // Pixel (x, y) of glyph g: bit 7 - x mod 8 of the byte at
    // g * bytes per glyph + y * bytes per row + x / 8.
    bool ink(int g, int x, int y) const {
        size_t at = size_t(g) * bytesPerGlyph() + size_t(y) * bytesPerRow() + size_t(x / 8);
        return (static_cast<uint8_t>(bytes_[at]) >> (7 - x % 8)) & 1;
    }

    std::string picture(int g) const {
        size_t from = size_t(g) * bytesPerGlyph();
        return bytes_.substr(from, bytesPerGlyph());
    }

    bool blank(int g) const { return picture(g).find_first_not_of('\0') == std::string::npos; }

    bool rowBlank(int g, int y) const {
        for (int x = 0; x < file_.width; ++x)
            if (ink(g, x, y)) return false;
        return true;
    }

    const FontFile& file() const { return file_; }

private:
    size_t bytesPerRow() const { return size_t(file_.width / 8); }
    size_t bytesPerGlyph() const { return bytesPerRow() * size_t(file_.height); }

    FontFile file_;
    std::string bytes_;
};

// --- A file of the wrong length makes the program refuse to start (too short)
// or shifts every glyph (wrong cell size): the committed files must be exact.
TEST(FontAssets, EveryFileHasExactlyItsTableSize) {
    for (const FontFile& f : kCharacterFiles) {
        GlyphTable t(f);
        EXPECT_EQ(t.actualSize(), t.expectedSize()) << f.name;
    }
    for (const FontFile& f : kDigitFiles) {
        GlyphTable t(f);
        EXPECT_EQ(t.actualSize(), t.expectedSize()) << f.name;
    }
    EXPECT_EQ(GlyphTable(kCharacterFiles[0]).actualSize(), 4096u);
    EXPECT_EQ(GlyphTable(kCharacterFiles[1]).actualSize(), 16384u);
    EXPECT_EQ(GlyphTable(kCharacterFiles[2]).actualSize(), 65536u);
    EXPECT_EQ(GlyphTable(kDigitFiles[0]).actualSize(), 128u);
    EXPECT_EQ(GlyphTable(kDigitFiles[1]).actualSize(), 512u);
    EXPECT_EQ(GlyphTable(kDigitFiles[2]).actualSize(), 2048u);
}

// --- Mirrored or upside-down glyphs: the block elements of the code page
// show where left, right, top and bottom are.
TEST(FontAssets, BlockElementsShowRowOrderAndBitOrder) {
    const int fullBlock = 0xDB, lowerHalf = 0xDC, leftHalf = 0xDD, upperHalf = 0xDF;
    for (const FontFile& f : kCharacterFiles) {
        GlyphTable t(f);
        ASSERT_TRUE(t.complete()) << f.name;
        for (int y = 0; y < f.height; ++y) {
            for (int x = 0; x < f.width; ++x) {
                EXPECT_TRUE(t.ink(fullBlock, x, y)) << f.name << " full block at " << x << "," << y;
                EXPECT_EQ(t.ink(leftHalf, x, y), x < f.width / 2) << f.name << " left half at " << x << "," << y;
                EXPECT_EQ(t.ink(upperHalf, x, y), y < f.height / 2) << f.name << " upper half at " << x << "," << y;
                EXPECT_EQ(t.ink(lowerHalf, x, y), y >= f.height / 2) << f.name << " lower half at " << x << "," << y;
            }
        }
    }
}

// --- A byte value drawn as nothing, or drawn like another value, hides data:
// every value but the space needs ink and a picture of its own.
TEST(FontAssets, EveryByteValueButTheSpaceHasItsOwnVisiblePicture) {
    for (const FontFile& f : kCharacterFiles) {
        GlyphTable t(f);
        ASSERT_TRUE(t.complete()) << f.name;
        EXPECT_TRUE(t.blank(0x20)) << f.name << ": the space must stay blank";
        std::map<std::string, int> seen;
        for (int g = 0; g < 256; ++g) {
            if (g == 0x20) continue;
            EXPECT_FALSE(t.blank(g)) << f.name << ": byte 0x" << std::hex << g << " has no ink";
            auto [it, fresh] = seen.emplace(t.picture(g), g);
            EXPECT_TRUE(fresh) << f.name << ": bytes 0x" << std::hex << it->second << " and 0x" << g
                               << " look the same";
        }
    }
}

TEST(FontAssets, EveryHexDigitHasItsOwnVisiblePicture) {
    for (const FontFile& f : kDigitFiles) {
        GlyphTable t(f);
        ASSERT_TRUE(t.complete()) << f.name;
        std::map<std::string, int> seen;
        for (int d = 0; d < 16; ++d) {
            EXPECT_FALSE(t.blank(d)) << f.name << ": digit " << d << " has no ink";
            auto [it, fresh] = seen.emplace(t.picture(d), d);
            EXPECT_TRUE(fresh) << f.name << ": digits " << it->second << " and " << d << " look the same";
        }
    }
}

// --- Stacked digits: the low digit of a byte is painted over the last rows of
// the high digit. Ink there would be cut off, and digits whose ink meets
// would read as one shape.
TEST(FontAssets, DigitsLeaveTheRowsTheLowDigitCoversBlank) {
    for (const FontFile& f : kDigitFiles) {
        GlyphTable t(f);
        ASSERT_TRUE(t.complete()) << f.name;
        const int covered = coveredRows(f.width);
        for (int d = 0; d < 16; ++d)
            for (int y = f.height - covered; y < f.height; ++y)
                EXPECT_TRUE(t.rowBlank(d, y)) << f.name << ": digit " << d << " draws in covered row " << y;
    }
}

TEST(FontAssets, EveryStackedPairShowsBothDigitsWholeAndApart) {
    for (const FontFile& f : kDigitFiles) {
        GlyphTable t(f);
        ASSERT_TRUE(t.complete()) << f.name;
        const int cw = f.width;
        const int lowTop = cw - coveredRows(cw);
        for (int high = 0; high < 16; ++high) {
            for (int low = 0; low < 16; ++low) {
                // Paint the cell the way the hex view does: the high digit,
                // then the whole low digit cell over it.
                std::vector<std::vector<bool>> cell(size_t(2 * cw), std::vector<bool>(size_t(cw), false));
                for (int y = 0; y < cw; ++y)
                    for (int x = 0; x < cw; ++x) cell[size_t(y)][size_t(x)] = t.ink(high, x, y);
                for (int y = 0; y < cw; ++y)
                    for (int x = 0; x < cw; ++x) cell[size_t(lowTop + y)][size_t(x)] = t.ink(low, x, y);

                int highBottom = -1, lowInkTop = -1;
                for (int y = 0; y < cw; ++y)
                    if (!t.rowBlank(high, y)) highBottom = y;
                for (int y = cw - 1; y >= 0; --y)
                    if (!t.rowBlank(low, y)) lowInkTop = lowTop + y;
                ASSERT_GE(highBottom, 0);
                ASSERT_GE(lowInkTop, 0);

                // Every ink pixel of the high digit is still visible.
                for (int y = 0; y <= highBottom; ++y) {
                    for (int x = 0; x < cw; ++x) {
                        if (t.ink(high, x, y)) {
                            EXPECT_TRUE(cell[size_t(y)][size_t(x)])
                                << f.name << ": pair " << high << "," << low << " hides pixel " << x << "," << y;
                        }
                    }
                }
                // At least one blank row separates the two digits.
                EXPECT_GE(lowInkTop - highBottom, 2) << f.name << ": digits " << high << " and " << low << " touch";
            }
        }
    }
}

// --- Digits wider than the cell less a gap run into the next byte's digits.
TEST(FontAssets, DigitsKeepAGapToTheNextCell) {
    for (const FontFile& f : kDigitFiles) {
        GlyphTable t(f);
        ASSERT_TRUE(t.complete()) << f.name;
        const int gap = coveredRows(f.width);
        for (int d = 0; d < 16; ++d) {
            for (int y = 0; y < f.height; ++y) {
                for (int x = f.width - gap; x < f.width; ++x)
                    EXPECT_FALSE(t.ink(d, x, y)) << f.name << ": digit " << d << " reaches column " << x;
            }
        }
    }
}

}  // namespace
