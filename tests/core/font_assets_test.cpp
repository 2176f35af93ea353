// Checks the six font files that ship beside the program (resources/fonts),
// read straight from the source tree.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

#ifndef VOP_SOURCE_DIR
#error "VOP_SOURCE_DIR must name the source tree"
#endif

namespace {

struct FontFile { const char* name; int glyphs, width, height; size_t size; };  // size: glyphs * width / 8 * height

const FontFile kFiles[] = {
    {"font.fnt", 256, 8, 16, 4096},   {"font1.fnt", 256, 16, 32, 16384}, {"font2.fnt", 256, 32, 64, 65536},
    {"digits.fnt", 16, 8, 8, 128},    {"digits1.fnt", 16, 16, 16, 512},  {"digits2.fnt", 16, 32, 32, 2048},
};

std::string Load(const FontFile& f) {
    std::ifstream in(std::string(VOP_SOURCE_DIR) + "/resources/fonts/" + f.name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Pixel (x, y) of glyph g: bit 7 - x mod 8 of byte g * bytes per glyph + y * bytes per row + x / 8.
bool Ink(const std::string& bytes, const FontFile& f, int g, int x, int y) {
    const size_t row = size_t(f.width / 8), at = size_t(g) * row * size_t(f.height) + size_t(y) * row + size_t(x / 8);
    return (static_cast<unsigned char>(bytes[at]) >> (7 - x % 8)) & 1;
}

// ---- A file too short makes the program refuse to start; a wrong cell size shifts every glyph.
// A byte value drawn as nothing, or like another value, hides data: every picture but
// the space needs ink and must differ from every other.
TEST(FontAssets, ExactSizesAndAVisiblePictureOfItsOwnForEveryValue) {
    for (const FontFile& f : kFiles) {
        const std::string bytes = Load(f);
        ASSERT_EQ(bytes.size(), f.size) << f.name;
        const size_t each = f.size / size_t(f.glyphs);
        std::set<std::string> seen;
        for (int g = 0; g < f.glyphs; ++g) {
            const std::string picture = bytes.substr(size_t(g) * each, each);
            const bool blank = picture.find_first_not_of('\0') == std::string::npos;
            EXPECT_EQ(blank, f.glyphs == 256 && g == 0x20) << f.name << " glyph " << g;
            EXPECT_TRUE(seen.insert(picture).second) << f.name << ": glyph " << g << " looks like another";
        }
    }
}

// ---- Mirrored glyphs: the left half block (0xDD) inks exactly the left half of each row.
TEST(FontAssets, LeftHalfBlockShowsTheBitOrder) {
    for (const FontFile& f : kFiles) {
        if (f.glyphs != 256) continue;
        const std::string bytes = Load(f);
        ASSERT_EQ(bytes.size(), f.size) << f.name;
        for (int y = 0; y < f.height; ++y)
            for (int x = 0; x < f.width; ++x)
                EXPECT_EQ(Ink(bytes, f, 0xDD, x, y), x < f.width / 2) << f.name << " at " << x << "," << y;
    }
}

// ---- The low digit of a stacked pair is painted over the last rows of the high
// digit's cell (one row in the smallest cell, width / 8 in the others): ink there would be cut off.
TEST(FontAssets, DigitsLeaveTheRowsTheLowDigitCoversBlank) {
    for (const FontFile& f : kFiles) {
        if (f.glyphs != 16) continue;
        const std::string bytes = Load(f);
        ASSERT_EQ(bytes.size(), f.size) << f.name;
        const int covered = f.width == 8 ? 1 : f.width / 8;
        for (int d = 0; d < 16; ++d)
            for (int y = f.height - covered; y < f.height; ++y)
                for (int x = 0; x < f.width; ++x)
                    EXPECT_FALSE(Ink(bytes, f, d, x, y)) << f.name << ": digit " << d << " draws in row " << y;
    }
}

}  // namespace
