// The About picture: the decoder's code tables at their limits, the box's
// size limit, the copies, the conversions and the bitmap form at every depth,
// the wave (and so the line shift) against a plain reference, and the box's
// choices. Bytes are written in hex, two digits a byte, spaces only grouping
// them; a file's header reads "4D42" (signature), width, height (32-bit
// little-endian), type, subtype. What holds for any file (nothing read past
// it, inversion twice, every pixel's colour kept at 32 bits) the fuzz target
// mbm checks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "about/about_picture.h"
#include "about/about_rules.h"
#include "about/line_shift.h"
#include "about/mbm_decoder.h"
#include "about/picture_colours.h"
#include "about/picture_dib.h"
#include "about/wave_animation.h"

using namespace std;

namespace vop {

auto Fields(const Picture& p) { return tie(p.width, p.height, p.bitsPerPixel, p.palette, p.pixels); }
bool operator==(const Picture& a, const Picture& b) { return Fields(a) == Fields(b); }
void PrintTo(const Picture& p, ostream* out) { *out << testing::PrintToString(Fields(p)); }

namespace {

using Bytes = vector<uint8_t>;

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A block exactly as long as its bytes, so that a read past the end is a
// sanitizer's report.
Bytes Hex(const char* text) {
    Bytes bytes;
    for (; *text; text += *text == ' ' ? 1 : 2)
        if (*text != ' ') bytes.push_back(stoi(string(text, 2), nullptr, 16));
    bytes.shrink_to_fit();
    return bytes;
}

Bytes Repeat(const Bytes& part, size_t times) {
    Bytes all;
    while (times-- > 0) all = move(all) + part;
    return all;
}

int Decode(Picture& p, const Bytes& file) { return DecodeMbm(p, file.data(), file.size()); }

// "width height depth: pixels".
Picture Pic(const char* text, const Bytes& palette = {}) {
    Picture p;
    p.palette = palette;
    int at = 0;
    sscanf(text, "%d %d %d: %n", &p.width, &p.height, &p.bitsPerPixel, &at);
    p.pixels = Hex(text + at);
    return p;
}

// Each refusal's code: a short signature, a negative side, an unknown type,
// sides whose pixels overflow 32 bits, a run past the last pixel, a set bit
// past the buffer, a palette of no entries, and a subtype one past its
// type's highest. What a refusal leaves of the picture the fuzz target checks.
TEST(MbmDecoder, Refusals) {
    struct { const char* file; int result; } cases[] = {
        {"4D",                                    1},
        {"4D42 FFFFFFFF 01000000",                2},
        {"4D42 01000000 FFFFFFFF 0200",           2},
        {"4D42 01000000 01000000 06",             3},
        {"4D42 FFFFFF7F FFFFFF7F 0502 FFFFFFFF",  6},
        {"4D42 03000000 01000000 0301 0307",      6},
        {"4D42 09000000 02000000 0101 25",        6},
        {"4D42 00000000 00000000 0203 0000",      6},
        {"4D42 00000000 00000000 0002",           4},
        {"4D42 00000000 00000000 0205",           4},
        {"4D42 00000000 00000000 0503",           4},
    };
    Picture p;
    for (auto& c : cases) EXPECT_EQ(Decode(p, Hex(c.file)), c.result) << c.file;
    EXPECT_EQ(DecodeMbm(p, nullptr, 20), MbmResult::NoData);
}

// Every run code at its shortest and longest, among the one-pixel codes of
// the same value, and raw pixels: the file decodes to `times` times
// `pixels`, and cut anywhere it gives 6, each cut a block of its own, so that
// a read past its end is a sanitizer's report. Type 2's body starts with a
// palette of one entry; a 1-bit row of 9 pixels takes 2 bytes.
TEST(MbmDecoder, Bodies) {
    struct { const char* file; size_t times; const char* pixels; } cases[] = {
        {"4D42 09000000 02000000 0101 10 05 0A",                                 1,     "0000 E000"},
        {"4D42 09000000 02000000 0101 23",                                       1,     "FF80 FF80"},
        {"4D42 09000000 01000000 0001 01020304 05060708 01 0E",                  1,     "8000"},
        {"4D42 03000000 01000000 0400 010203 040506 070809",                     1,     "010203040506070809"},
        {"4D42 00010000 01000000 0301 FF07",                                     256,   "07"},
        {"4D42 08010000 01000000 0202 0100 09090909 FE FF00FE FFFFFE",           264,   "FE"},
        {"4D42 86000000 01000000 0203 0100 09090909 7F 807F FF7F",               134,   "7F"},
        {"4D42 11050100 01000000 0204 0100 09090909 FD FF00FD FE0000FD FE0102FD FEFFFFFD", 66833, "FD"},
        {"4D42 00010000 01000000 0401 FF010203",                                 256,   "010203"},
        {"4D42 00010000 01000000 0501 FF01020304",                               256,   "01020304"},
        {"4D42 01000000 01000000 0502 FE010203",                                 1,     "FE010203"},
        {"4D42 04030100 01000000 0502 FF000203 FF02FF000203 FF010201FF000203 FF01FFFFFF000203", 66308, "FF000203"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.file);
        Bytes file = Hex(c.file);
        Picture p;
        EXPECT_EQ(Decode(p, file), 0);
        EXPECT_EQ(p.pixels, Repeat(Hex(c.pixels), c.times));
        for (size_t n = 2; n < file.size(); ++n) EXPECT_EQ(Decode(p, {file.begin(), file.begin() + n}), 6) << n;
    }
    Picture raw;  // type 3's raw pixels come after a palette it skips
    EXPECT_EQ(Decode(raw, Hex("4D42 01000000 01000000 0300") + Bytes(1024, 9) + Hex("07")), 0);
    EXPECT_EQ(raw.pixels, Hex("07"));
}

// The box takes at most 400 pixels each way: a header of more, even a
// header alone, is refused before the decoder sees it, and empties the
// picture.
TEST(AboutPicture, TheBoxTakesWhatItsWaveCovers) {
    Picture p = Pic("1 1 8: 05");
    for (const char* header : {"4D42 91010000 01000000", "4D42 01000000 91010000 0301"}) {
        Bytes file = Hex(header);
        EXPECT_EQ(LoadAboutPicture(p, file.data(), file.size()), PictureTooLarge);
    }
    EXPECT_EQ(p, Picture{});
    Bytes cut = Hex("4D42 91010000 010000");  // no whole height: the decoder's refusal, nothing read past it
    EXPECT_NE(LoadAboutPicture(p, cut.data(), cut.size()), PictureTooLarge);
    Bytes most = Hex("4D42 90010000 90010000 0301") + Repeat(Hex("FF07"), 625);
    EXPECT_EQ(LoadAboutPicture(p, most.data(), most.size()), 0);
}

// A copy equals its source, shape and palette too, even onto a picture of
// the same sizes in another shape (the first here), of the same shape (the
// third) or of the same shape with another palette (the last). A negative
// side holds no pixels.
TEST(PictureValue, Copies) {
    Picture target = Pic("2 1 8: 0506");
    Picture sources[] = {Pic("1 2 8: 0102"), Pic("2 1 8: 0304", Bytes(1024, 4)), Pic("2 1 8: 0708", Bytes(1024, 6)),
                         Pic("2 1 8: 0809")};
    for (Picture& source : sources) EXPECT_EQ(CopyPicture(target, source), source);
    Picture narrow = Pic("9 1 1: FF80");  // the bytes of a row of 16 pixels, but another shape
    EXPECT_EQ(CopyPicture(narrow, Pic("16 1 1: 1234")), Pic("16 1 1: 1234"));
    EXPECT_EQ(PixelDataSize(-1, 2, 8), 0u);
}

// Two colours mixed with weights 1 − f and f, each colour channel weighted
// by its opacity; alike colours stay as they are.
ColourValue Mixed(ColourValue a, ColourValue b, double f) {
    double ta = a & 255;
    double tb = b & 255;
    double t = trunc((1 - f) * ta + f * tb + 0.5);
    ColourValue out = ColourValue(t);
    for (int i = 8; i < 32 && t < 255; i += 8) {
        double s = (1 - f) * (a >> i & 255) * (255 - ta) + f * (b >> i & 255) * (255 - tb);
        out |= ColourValue(min(trunc(s / (255 - t) + 0.5), 255.0)) << i;
    }
    return a == b ? a : out;
}

// A row or column of a picture at 32 bits moved toward higher indices by
// `amount` (lower when negative): pixel i becomes the one n whole places
// back, mixed by the fraction with its neighbour on the side it comes from;
// the fill beyond the ends.
void ShiftByDefinition(Picture& p, bool row, int line, double amount) {
    if (amount == 0) return;
    int step = amount > 0 ? -1 : 1;
    int n = floor(abs(amount));
    int length = row ? p.width : p.height;
    vector<ColourValue> q(32, FillValue);  // the line from 8 on, amid fill wider than any shift here
    auto at = [&](int i) { return &p.pixels[4 * (row ? line * p.width + i : i * p.width + line)]; };
    for (int i = 0; i < length; ++i) q[8 + i] = LoadColour(at(i));
    for (int i = 0; i < length; ++i)
        StoreColour(at(i), Mixed(q[8 + i + step * n], q[8 + i + step * n + step], abs(amount) - n));
}

// Each depth, with and without a palette: the conversion to 32 bits gives
// each pixel's colour, which PixelAt reads, the coordinates clamped into the
// picture. A shift by 0 leaves even the depth; any other works on the
// picture at 32 bits. Inverted, the picture gives the inverse of each
// colour, the transparency kept, and no padding bit turns. The bitmap form
// from `from` on holds the colour table, blended over the background
// (0x332211) or from its inverse to it without a palette, and the rows
// bottom-up, padded to 4 bytes, after the 40-byte header. A palette may be
// shorter than its depth allows: the entries past it are 0.
TEST(PictureColours, EveryDepth) {
    Bytes two = Hex("0DB45B02 FF004D8C");
    struct { Picture p; const char* wide; size_t from; const char* dib; } cases[] = {
        {Pic("9 2 1: 127F 347F"),
         "9 2 32: 00FFFFFF 00FFFFFF 00FFFFFF 00000000 00FFFFFF 00FFFFFF 00000000 00FFFFFF 00FFFFFF"
         "00FFFFFF 00FFFFFF 00000000 00000000 00FFFFFF 00000000 00FFFFFF 00FFFFFF 00FFFFFF", 0,
         "28000000 09000000 02000000 0100 0100 00000000 00000000 00000000 00000000 00000000 00000000"
         "CCDDEE00 33221100 347F0000 127F0000"},
        {Pic("9 2 1: 127F 347F", two),
         "9 2 32: 0DB45B02 0DB45B02 0DB45B02 FF004D8C 0DB45B02 0DB45B02 FF004D8C 0DB45B02 0DB45B02"
         "0DB45B02 0DB45B02 FF004D8C FF004D8C 0DB45B02 FF004D8C 0DB45B02 0DB45B02 0DB45B02", 40,
         "0458AB00 33221100 347F0000 127F0000"},
        {Pic("3 1 8: 0D FF 20"),               "3 1 32: 00F2F2F2 00000000 00DFDFDF", 1060, "33221100 0DFF2000"},
        {Pic("2 1 8: 00 01", two),             "2 1 32: 0DB45B02 FF004D8C",         1060, "00000000 00010000"},
        {Pic("2 1 24: 0DB45B 02FF00"),         "2 1 32: 000DB45B 0002FF00",         40,   "5BB40D 00FF02 0000"},
        {Pic("2 1 32: 0DB45B02 FF004D8C"),     "2 1 32: 0DB45B02 FF004D8C",         40,   "0458AB00 33221100"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.wide);
        Picture wide = c.p;
        ToThirtyTwoBits(wide);
        EXPECT_EQ(wide, Pic(c.wide));
        Bytes dib = PictureToDib(c.p, 0x332211);
        EXPECT_EQ(Bytes(dib.begin() + c.from, dib.end()), Hex(c.dib));
        EXPECT_EQ(PixelAt(c.p, -1, -1), LoadColour(&wide.pixels[0]));
        EXPECT_EQ(PixelAt(c.p, 99, 99), PixelAt(wide, 99, 99));
        Picture shifted = c.p;
        ShiftLine(shifted, ShiftRight, 0, 0.0);
        EXPECT_EQ(shifted, c.p);
        ShiftLine(shifted, ShiftRight, 0, 0.5);
        Picture want = Pic(c.wide);
        ShiftByDefinition(want, true, 0, 0.5);
        EXPECT_EQ(shifted, want);
        Picture inverted = c.p;
        AdjustColors(inverted, InvertColours);
        ToThirtyTwoBits(inverted);
        AdjustColors(wide, InvertColours);
        EXPECT_EQ(inverted, wide);
    }
    AdjustColors(cases[0].p, InvertColours);
    EXPECT_EQ(cases[0].p.pixels, Hex("EDFF CBFF"));
    Picture cut = Pic("2 2 8: 01");  // fewer pixels than its sides: left alone
    ToThirtyTwoBits(cut);
    EXPECT_EQ(cut, Pic("2 2 8: 01"));
    Picture odd = Pic("1 1 16: 0102");  // a depth with no bitmap form and no way to 32 bits
    EXPECT_EQ(PictureToDib(odd, 0), Bytes{});
    ShiftLine(odd, ShiftRight, 0, 1.0);
    EXPECT_EQ(odd, Pic("1 1 16: 0102"));
}

// The source is the picture at 32 bits, shown as it is until the first tick;
// every tick shifts the source's rows, then the columns, by the table of
// 5 · sin(k · π / 100), which rotates with every tick. Its entries, negative
// from 100 on, move lines both ways, by fractions and by whole lines, on a
// picture with transparent, half-transparent and opaque colours; its corner
// of one transparent colour stays as it is.
TEST(WaveAnimation, TicksFromTheSource) {
    Picture picture = Pic("6 4 8: 000102030401 020003010402 040300020303 010402000303",
                          Hex("FF000000 00FFFFFF 10204080 FF563412 C800009A"));
    Picture wide = picture;
    ToThirtyTwoBits(wide);
    auto table = [](int k) { return 5 * sin(k * acos(-1.0) / 100); };
    WaveAnimation wave;
    StartWave(wave, picture);
    ASSERT_EQ(wave.frame, wide);
    for (int tick = 0; tick < 220; ++tick) {
        Picture want = wide;
        for (int r = 0; r < 4; ++r) ShiftByDefinition(want, true, r, table(r + tick));
        for (int c = 0; c < 6; ++c) ShiftByDefinition(want, false, c, table(c + tick));
        WaveTick(wave);
        ASSERT_EQ(wave.frame, want) << tick;
    }
}

// One About command in four shows the curtain, as the C runtime's generator
// draws it; a picture whose first colour would vanish on the face is shown
// inverted; the picture is centred; the closing depends on the system.
TEST(AboutBox, Choices) {
    EXPECT_FALSE(AboutUsesCurtain(1796600002));  // draws 25886, 2 past a multiple of 4
    EXPECT_TRUE(AboutUsesCurtain(1796600004));   // 25892
    EXPECT_TRUE(PictureShownInverted(0xFFFFFF00, 0xF0F0F0));
    EXPECT_FALSE(PictureShownInverted(0xFFFFFF00, 0));
    EXPECT_TRUE(PictureShownInverted(0, 0));
    EXPECT_EQ(PictureLeft(300, 255), 22);
    EXPECT_EQ(WaveClosingFor(4), WaveClosing::FadeOut);
    EXPECT_EQ(WaveClosingFor(5), WaveClosing::Animate);
    EXPECT_EQ(WaveClosingFor(6), WaveClosing::AtOnce);
    EXPECT_EQ(WaveClosingFor(10), WaveClosing::AtOnce);  // what Windows 10 and 11 report
    EXPECT_TRUE(CurtainFadesOut(5));
    EXPECT_FALSE(CurtainFadesOut(6));
}

}  // namespace
}  // namespace vop
