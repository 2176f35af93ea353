// The About picture: the MBM decoder against its code tables and a small
// encoder, the line shift against a plain reference, the bitmap form, the
// conversions and the program's own picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <random>

#include "about/about_rules.h"
#include "about/line_shift.h"
#include "about/mbm_decoder.h"
#include "about/picture_colours.h"
#include "about/picture_dib.h"
#include "about/wave_animation.h"

namespace vop {
namespace {

using Bytes = std::vector<std::uint8_t>;
Bytes operator+(Bytes a, const Bytes& b) { return a.insert(a.end(), b.begin(), b.end()), a; }
Bytes Mbm(std::int32_t w, std::int32_t h, int type, int sub, const Bytes& body) {
    Bytes b{'M', 'B', 0, 0, 0, 0, 0, 0, 0, 0, std::uint8_t(type), std::uint8_t(sub)};
    for (int i = 0; i < 4; ++i) b[2 + i] = std::uint8_t(std::uint32_t(w) >> 8 * i), b[6 + i] = std::uint8_t(std::uint32_t(h) >> 8 * i);
    return b + body;
}
int Decode(Picture& p, const Bytes& b, std::size_t size = SIZE_MAX) { return DecodeMbm(p, b.data(), std::min(size, b.size())); }
bool Empty(const Picture& p) { return p.width == 0 && p.height == 0 && p.bitsPerPixel == 0 && !p.hasPalette() && !p.holdsPixels(); }
Bytes Tail(const Bytes& b, std::size_t from) { return Bytes(b.begin() + std::ptrdiff_t(from), b.end()); }
Picture Make(int w, int h, int bits, Bytes pixels, Bytes palette = {}) { return Picture{w, h, bits, palette, pixels}; }

// Every type and subtype at width 0 (a palette count of 1 where one is read),
// and the header's own refusals, which leave the old picture or none.
TEST(MbmDecoder, TypesSubtypesAndHeader) {
    Bytes body(1030);
    for (std::size_t i = 0; i < body.size(); ++i) body[i] = std::uint8_t(i == 1 ? 0 : i % 7 + 1);  // palette count 1
    const Bytes palettes[] = {Bytes(body.begin(), body.begin() + 8), Bytes(body.begin(), body.begin() + 1024), Bytes{3, 4, 5, 6} + Bytes(1020, 0)};
    const int highest[] = {1, 1, 4, 1, 1, 2}, depth[] = {1, 1, 8, 8, 24, 32};
    for (int type = 0; type < 8; ++type)
        for (int sub = 0; sub < 6; ++sub) {
            Picture p = Make(1, 1, 8, {5});
            const int want = type > 5 ? 3 : sub > highest[type] ? 4 : 0;
            ASSERT_EQ(Decode(p, Mbm(0, 3, type, sub, body)), want) << type << sub;
            EXPECT_TRUE(want ? Empty(p) : p.bitsPerPixel == depth[type] && p.height == 3 && !p.holdsPixels() &&
                                              p.palette == (type == 0 ? palettes[0] : type != 2 ? Bytes{} : palettes[sub ? 2 : 1]));
        }
    Picture p = Make(1, 1, 8, {5});
    EXPECT_TRUE(DecodeMbm(p, nullptr, 20) == -1 && Decode(p, {'M', 'b', 0, 0}) == 1 && p.pixels == Bytes{5} && p.width == 1);
    EXPECT_TRUE(Decode(p, Mbm(-1, 1, 2, 0, {})) == 2 && Decode(p, Mbm(1, -1, 9, 0, {})) == 2 && Empty(p));
    EXPECT_TRUE(Decode(p, Mbm(1, 1, 6, 0, {}), 11) == 3 && Decode(p, Mbm(5, 0, 1, 1, {})) == 0 && p.width == 5);
    // Sizes that would wrap, or that the data could never fill, allocate nothing.
    EXPECT_EQ(Decode(p, Mbm(0x7FFFFFFF, 0x7FFFFFFF, 5, 2, Bytes(64, 0xFF))), 6);
    EXPECT_EQ(Decode(p, Mbm(0x1000000, 2, 4, 1, Bytes(1 << 20, 0xFF))), 5);
}

// One code per case of every run stream: it decodes alone to exactly its
// pixels; one pixel fewer is a run past the last pixel; the stream cut at any
// length ends early. Each gives 6 and an empty picture.
TEST(MbmDecoder, RunCodesAndTheirLimits) {
    const Bytes pal{1, 0, 9, 9, 9, 9};
    const struct { int type, sub; Bytes code; std::uint32_t count; Bytes value; } cases[] = {
        {2, 1, {0, 7}, 1, {7}}, {3, 1, {255, 7}, 256, {7}}, {2, 2, {254}, 1, {254}}, {2, 2, {255, 0, 7}, 4, {7}},
        {2, 2, {255, 255, 7}, 259, {7}}, {2, 3, {127}, 1, {127}}, {2, 3, {128, 7}, 3, {7}}, {2, 3, {255, 7}, 130, {7}},
        {2, 4, {253}, 1, {253}}, {2, 4, {255, 255, 7}, 259, {7}}, {2, 4, {254, 0, 0, 7}, 260, {7}},
        {2, 4, {254, 255, 255, 7}, 65795, {7}}, {4, 1, {2, 1, 2, 3}, 3, {1, 2, 3}}, {5, 1, {255, 1, 2, 3, 4}, 256, {1, 2, 3, 4}},
        {5, 2, {254, 1, 2, 3}, 1, {254, 1, 2, 3}}, {5, 2, {255, 0, 2, 3}, 1, {255, 0, 2, 3}},
        {5, 2, {255, 1, 0, 0, 5, 6, 7, 8}, 256, {5, 6, 7, 8}}, {5, 2, {255, 1, 255, 255, 5, 6, 7, 8}, 65791, {5, 6, 7, 8}},
        {5, 2, {255, 255, 2, 3, 4, 5}, 255, {2, 3, 4, 5}}, {5, 2, {255, 2, 2, 3, 4, 5}, 2, {2, 3, 4, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << "/" << c.sub << " " << c.count);
        const Bytes body = (c.type == 2 ? pal : Bytes{}) + c.code;
        const Bytes file = Mbm(std::int32_t(c.count), 1, c.type, c.sub, body);
        Picture p;
        ASSERT_EQ(Decode(p, file), 0);
        for (std::size_t i = 0; i < p.pixels.size(); ++i) ASSERT_EQ(p.pixels[i], c.value[i % c.value.size()]);
        EXPECT_EQ(p.pixels.size(), c.count * c.value.size());
        EXPECT_TRUE(c.count == 1 || (Decode(p, Mbm(std::int32_t(c.count) - 1, 1, c.type, c.sub, body)) == 6 && Empty(p)));
        for (std::size_t n = 2; n < file.size(); ++n) ASSERT_TRUE(Decode(p, file, n) == 6 && Empty(p)) << n;
    }
    Picture p;  // palette counts 0 and 257; a run too long for the picture, even with codes that would fit after it
    EXPECT_TRUE(Decode(p, Mbm(2, 1, 2, 3, {0, 0, 1, 1})) == 6 && Decode(p, Mbm(2, 1, 2, 3, Bytes(1032, 1))) == 6);
    EXPECT_EQ(Decode(p, Mbm(2, 1, 2, 3, pal + Bytes{0x80, 7, 1, 1})), 6);
}

// Bits: the run example, set runs up to and past the last pixel, a clear run
// past it (which only moves on), a stream ending early, raw rows.
TEST(MbmDecoder, MonochromeRunsAndRows) {
    const Bytes pal{1, 2, 3, 4, 5, 6, 7, 8};
    const struct { int type, sub; Bytes body; int result; Bytes pixels; } cases[] = {
        {1, 1, {0x10, 0x05, 0x0A}, 0, {0, 0, 0xE0, 0}}, {1, 1, {0x23}, 0, {0xFF, 0x80, 0xFF, 0x80}},
        {1, 1, {0x25}, 6, {}}, {1, 1, {0x24}, 0, {0, 0, 0, 0}}, {1, 1, {0x03, 0x1C, 0x01}, 0, {0xC0, 0, 0, 0x80}},
        {1, 1, {0x03, 0x1C}, 6, {}}, {1, 0, {0xAB, 0xCD, 0xEF}, 6, {}}, {1, 0, {0xAB, 0xCD, 0xEF, 1}, 0, {0xAB, 0xCD, 0xEF, 1}},
    };
    for (const auto& c : cases)
        for (int type : {c.type, 0}) {
            const Bytes body = (type == 0 ? pal : Bytes{}) + c.body;
            Picture p;
            ASSERT_EQ(Decode(p, Mbm(9, 2, type, c.sub, body)), c.result) << testing::PrintToString(c.body);
            EXPECT_TRUE(p.pixels == c.pixels && p.palette == (type == 0 && !c.result ? pal : Bytes{}));
        }
}

// Two colours mixed, each colour channel weighted by its opacity; alike ones stay.
ColourValue Mixed(ColourValue a, ColourValue b, double wa, double wb) {
    auto ch = [](ColourValue c, int x) { return double(c >> 8 * x & 0xFF); };
    const double t = std::clamp(std::trunc(wa * ch(a, 0) + wb * ch(b, 0) + 0.5), 0.0, 255.0), o = 255 - t;
    ColourValue out = ColourValue(t);
    for (int x = 1; x <= 3 && o > 0; ++x)
        out |= ColourValue(std::clamp(std::trunc((wa * ch(a, x) * (255 - ch(a, 0)) + wb * ch(b, x) * (255 - ch(b, 0))) / o + 0.5), 0.0, 255.0)) << 8 * x;
    return a == b ? a : out;
}
// The definition step by step: the whole pixels, then the fraction.
std::vector<ColourValue> Shifted(std::vector<ColourValue> q, bool lower, double amount) {
    const int L = int(q.size()), n = int(std::min(std::floor(amount), double(L)));
    const double f = amount - std::floor(amount);
    std::vector<ColourValue> t(q.size());
    for (int i = 0; i < L; ++i) t[std::size_t(i)] = lower ? (i + n < L ? q[std::size_t(i + n)] : FillValue) : (i >= n ? q[std::size_t(i - n)] : FillValue);
    auto at = [&](int i) { return i >= 0 && i < L ? t[std::size_t(i)] : FillValue; };
    for (int i = 0; i < L; ++i) q[std::size_t(i)] = lower ? Mixed(at(i), at(i + 1), 1 - f, f) : Mixed(at(i - 1), at(i), f, 1 - f);
    return q;
}

TEST(ShiftLine, AgainstTheDefinition) {
    std::mt19937 rng(3);
    const ColourValue some[] = {FillValue, 0xFFFFFF00, 0x80402010, 0x123456FF, 0x9A0000C8};
    for (int round = 0; round < 600; ++round) {
        const int w = 1 + int(rng() % 9), h = 1 + int(rng() % 9), dir = int(rng() % 4), line = int(rng() % 9) % (dir < 2 ? h : w);
        const double amount = (int(rng() % 49) - 24) / 4.0 + (rng() % 3 ? 0 : 0.1);
        Picture p = Make(w, h, 32, Bytes(std::size_t(w * h * 4)));
        for (int i = 0; i < w * h; ++i) StoreColour(&p.pixels[std::size_t(i * 4)], rng() % 2 ? some[rng() % 5] : ColourValue(rng()));
        Picture want = p;
        std::vector<ColourValue> q;
        auto pixel = [&](Picture& pic, int i) { return &pic.pixels[std::size_t(dir < 2 ? line * w + i : i * w + line) * 4]; };
        for (int i = 0; i < (dir < 2 ? w : h); ++i) q.push_back(LoadColour(pixel(p, i)));
        if (amount != 0) q = Shifted(q, (dir % 2 == 0) != (amount < 0), std::abs(amount));
        for (int i = 0; i < (dir < 2 ? w : h); ++i) StoreColour(pixel(want, i), q[std::size_t(i)]);
        ShiftLine(p, dir, line, amount);
        ASSERT_EQ(p.pixels, want.pixels) << dir << " " << line << " " << amount;
    }
}

// A line outside the picture and amount 0 leave even the depth alone; any
// other shift works at 32 bits.
TEST(ShiftLine, Conversion) {
    Picture m = Make(9, 2, 1, {0x80, 0, 0, 0});
    ShiftLine(m, ShiftDown, 0, 0.0), ShiftLine(m, ShiftDown, 9, 1.0), ShiftLine(m, ShiftUp, -1, 1.0);
    EXPECT_EQ(m.bitsPerPixel, 1);
    Picture rgb = Make(2, 1, 24, {1, 2, 3, 4, 5, 6});
    ShiftLine(m, ShiftDown, 0, 1.0), ShiftLine(rgb, ShiftLeft, 0, 1.0);
    EXPECT_TRUE(m.bitsPerPixel == 32 && PixelAt(m, 0, 0) == FillValue && PixelAt(m, 0, 1) == 0 && PixelAt(m, 1, 1) == 0xFFFFFF00);
    EXPECT_TRUE(rgb.pixels == (Bytes{0, 4, 5, 6, 0xFF, 0, 0, 0}));
}

TEST(PictureToDib, HeaderTableRowsAndBlending) {
    const std::uint32_t bg = 0x00332211;
    Bytes palette{0, 10, 20, 30, 255, 10, 20, 30, 51, 100, 0, 255}, pixels(18), header(40, 0);
    palette.resize(1024), header[0] = 40, header[4] = 9, header[8] = 2, header[12] = 1, header[14] = 8;
    for (std::uint8_t i = 0; i < 18; ++i) pixels[i] = i;
    const Bytes dib = PictureToDib(Make(9, 2, 8, pixels, palette), bg);
    ASSERT_EQ(dib.size(), 40u + 1024 + 24);
    EXPECT_EQ(Bytes(dib.begin(), dib.begin() + 40), header);
    EXPECT_EQ(Bytes(dib.begin() + 40, dib.begin() + 52), (Bytes{30, 20, 10, 0, 0x33, 0x22, 0x11, 0, 214, 6, 83, 0}));
    for (std::size_t i = 0; i < 24; ++i) EXPECT_EQ(dib[1064 + i], i % 12 < 9 ? pixels[(1 - i / 12) * 9 + i % 12] : 0) << i;
    const struct { Picture p; Bytes tail; } cases[] = {
        {Make(1, 2, 32, {0, 1, 2, 3, 255, 9, 9, 9}), {0x33, 0x22, 0x11, 0, 3, 2, 1, 0}},
        {Make(1, 1, 24, {1, 2, 3}), {3, 2, 1, 0}},
        {Make(9, 1, 1, {0xFF, 0x80}), {0xCC, 0xDD, 0xEE, 0, 0x33, 0x22, 0x11, 0, 0xFF, 0x80, 0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(Tail(PictureToDib(c.p, bg), 40), c.tail);
    const Bytes ramp = Tail(PictureToDib(Make(1, 1, 8, {0}), bg), 40);  // from the background's inverse to it
    EXPECT_TRUE(Bytes(ramp.begin(), ramp.begin() + 4) == (Bytes{0xCC, 0xDD, 0xEE, 0}) && Tail(ramp, 1020) == (Bytes{0x33, 0x22, 0x11, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(PictureToDib(Picture{}, bg).empty() && DibColourCount(24) == 0);
}

// Inversion at every depth turns each pixel's colour (never its transparency)
// and no padding bit; twice, it restores the picture. Other operations do nothing.
TEST(PictureColours, InversionTwiceRestores) {
    Bytes any(1024);
    for (std::size_t i = 0; i < 1024; ++i) any[i] = std::uint8_t(i * 167 + 13);
    auto part = [&](std::size_t n) { return Bytes(any.begin(), any.begin() + std::ptrdiff_t(n)); };
    const Picture cases[] = {Make(9, 2, 1, {0x12, 0x7F, 0x34, 0x7F}, part(8)), Make(9, 2, 1, {0x12, 0x7F, 0x34, 0x7F}),
                             Make(3, 2, 8, part(6)), Make(3, 2, 8, part(6), any), Make(3, 2, 24, part(18)), Make(3, 2, 32, part(24))};
    for (const Picture& c : cases) {
        Picture p = c;
        AdjustColors(p, 4), AdjustColors(p, InvertColours);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < c.width; ++x) EXPECT_EQ(PixelAt(p, x, y), PixelAt(c, x, y) ^ 0xFFFFFF00) << c.bitsPerPixel << x << y;
        EXPECT_TRUE(c.bitsPerPixel != 1 || c.hasPalette() || p.pixels == (Bytes{0xED, 0xFF, 0xCB, 0xFF}));
        AdjustColors(p, InvertColours);
        EXPECT_TRUE(p.pixels == c.pixels && p.palette == c.palette);
    }
}

TEST(PictureColours, PixelAtConversionsAndCopies) {
    Picture p = Make(3, 2, 8, {0, 1, 2, 3, 4, 255});
    EXPECT_TRUE(PixelAt(p, -5, 9) == MakeColourValue(0, 252, 252, 252) && PixelAt(p, 7, -1) == MakeColourValue(0, 253, 253, 253));
    const ColourValue c = MakeColourValue(9, 200, 100, 0), inverse = MakeColourValue(0, 55, 155, 255);
    ToTrueColor(p, c);  // the default ramp, from the inverse of c to c
    EXPECT_TRUE(p.bitsPerPixel == 32 && !p.hasPalette() && p.pixels.size() == 24 && PixelAt(p, 0, 0) == inverse);
    EXPECT_TRUE(PixelAt(p, 1, 0) == MakeColourValue(0, 55, 154, 254) && PixelAt(p, 2, 1) == MakeColourValue(0, 200, 100, 0));
    Picture m = Make(9, 2, 1, {0x80, 0x80, 0, 0}), bare = m;
    DefaultPalette(m, c), DefaultPalette(m, 0), ToTrueColor(m, 0);  // a palette is kept; 1 bit is left to ExpandMonochrome
    EXPECT_TRUE(PixelAt(m, 0, 0) == MakeColourValue(0, 200, 100, 0) && PixelAt(m, 1, 0) == inverse);
    ExpandMonochrome(m), ExpandMonochrome(bare);
    EXPECT_TRUE(m.bitsPerPixel == 8 && m.pixels == (Bytes{1, 0, 0, 0, 0, 0, 0, 0, 1} + Bytes(9, 0)) && PaletteEntry(m, 0) == inverse && PaletteEntry(m, 2) == 0);
    EXPECT_TRUE(bare.pixels == (Bytes{255, 0, 0, 0, 0, 0, 0, 0, 255} + Bytes(9, 0)) && !bare.hasPalette() && m.palette.size() == 1024);
    Picture rgb = Make(1, 1, 24, {1, 2, 3}), target = Make(1, 1, 32, {9, 9, 9, 9});
    RgbToTrueColor(rgb), RgbToTrueColor(rgb);  // the second finds 32 bits: nothing to do
    const std::uint8_t* buffer = target.pixels.data();
    CopyPicture(target, rgb);  // the same shape: into the same buffer
    EXPECT_TRUE(target.pixels == (Bytes{0, 1, 2, 3}) && target.pixels.data() == buffer);
    CopyPicture(CopyPicture(target, m), target);
    EXPECT_TRUE(target.width == 9 && target.height == 2 && target.bitsPerPixel == 8 && target.pixels == m.pixels && target.palette == m.palette);
    EXPECT_TRUE(Empty(CopyPicture(target, Picture{})));
}

// The source is the picture at 32 bits, shown as it is until the first tick;
// every tick shifts the source's rows, then the columns, by the rotating table.
TEST(WaveAnimation, TicksFromTheSource) {
    Bytes indices(48);
    for (std::size_t i = 0; i < 48; ++i) indices[i] = std::uint8_t(i % 5 ? 255 : i * 40);
    auto table = [](int k) { return 5 * std::sin(k * std::acos(-1.0) / 100); };
    for (const Picture& decoded : {Make(12, 4, 8, indices), Make(12, 4, 1, Tail(indices, 40)), Make(4, 4, 24, indices)}) {
        WaveAnimation wave;
        StartWave(wave, decoded);
        ASSERT_TRUE(wave.source.bitsPerPixel == 32 && wave.rows.pixels == wave.source.pixels && wave.frame.pixels == wave.source.pixels);
        for (int tick = 0; tick < 3; ++tick) {
            Picture want = wave.source;
            for (int r = 0; r < 4; ++r) ShiftLine(want, ShiftRight, r, table(r + tick));
            for (int c = 0; c < decoded.width; ++c) ShiftLine(want, ShiftDown, c, table(c + tick));
            WaveTick(wave);
            EXPECT_TRUE(wave.frame.pixels == want.pixels && wave.table[399] == table(tick));
        }
    }
}

// The program's own picture, as tools/make_about_picture.py makes it: decoded
// and packed again by a plain greedy encoder (runs of 3 to 130 as run codes,
// the rest one byte a pixel), it gives the same bytes.
TEST(AboutPicture, TheProgramsPictureDecodesAndPacksBack) {
    std::ifstream in(VOP_SOURCE_DIR "/resources/about.mbm", std::ios::binary);
    const Bytes file{std::istreambuf_iterator<char>(in), {}};
    Picture p;
    ASSERT_EQ(Decode(p, file), 0);
    Bytes packed(file.begin(), file.begin() + 14 + 67 * 4);
    for (std::size_t i = 0, r; i < p.pixels.size(); i += r) {
        for (r = 1; r < 130 && i + r < p.pixels.size() && p.pixels[i + r] == p.pixels[i];) ++r;
        if (r < 3) r = 1, packed.push_back(p.pixels[i]);
        else packed.insert(packed.end(), {std::uint8_t(125 + r), p.pixels[i]});
    }
    EXPECT_EQ(packed, file);
    EXPECT_TRUE(file[10] == 2 && file[11] == 3 && p.width == 255 && p.height == 75 && p.bitsPerPixel == 8);
    EXPECT_TRUE(PaletteEntry(p, 0) == 0 && PaletteEntry(p, 66) == 0xFF);
    for (unsigned i = 0; i < 256; ++i) EXPECT_EQ(PaletteEntry(p, i) >> (i < 67 ? 8 : 0), 0u) << i;  // black, then nothing
    for (unsigned i = 1; i < 67; ++i) EXPECT_LE(PaletteEntry(p, i - 1), PaletteEntry(p, i));  // transparency rising
    EXPECT_LT(*std::max_element(p.pixels.begin(), p.pixels.end()), 67);
}

// One About command in four shows the curtain; a picture whose first colour
// would vanish on the face (white on a light one, black on black) is inverted.
TEST(AboutBox, ChoiceAndInversion) {
    int curtains = 0;
    for (int t = 0; t < 4000; ++t) curtains += AboutUsesCurtain(1796600000 + t);
    EXPECT_NEAR(curtains, 1000, 100);
    EXPECT_TRUE(PictureShownInverted(0, 0) && PictureShownInverted(0xFFFFFF00, 0xF0F0F0) && !PictureShownInverted(0, 0xF0F0F0));
    EXPECT_TRUE(!PictureShownInverted(0xFFFFFF00, 0) && !PictureShownInverted(FillValue, 0) && !PictureShownInverted(FillValue, 0xF0F0F0));
}

}  // namespace
}  // namespace vop
