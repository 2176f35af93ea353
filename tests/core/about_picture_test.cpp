// The About picture: the decoder's code tables at their limits, the box's
// size limit, the line shift against a plain reference, the conversions and
// copies, the bitmap form, the box's choices and the program's own picture.
// Bytes are written in hex, as the editor shows them; a file's header reads
// "4D42" (signature), width, height (32-bit little-endian), type, subtype.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <random>

#include "about/about_picture.h"
#include "about/about_rules.h"
#include "about/line_shift.h"
#include "about/mbm_decoder.h"
#include "about/picture_colours.h"
#include "about/picture_dib.h"
#include "about/wave_animation.h"

// The largest block asked of the allocator since the last reset: a header
// the decoder refuses must cost nothing, and a copy of the same shape neither.
static std::size_t largest = 0;

void* operator new(std::size_t n) {
    largest = std::max(largest, n);
    if (void* block = std::malloc(n ? n : 1)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace vop {

auto Fields(const Picture& p) { return std::tie(p.width, p.height, p.bitsPerPixel, p.palette, p.pixels); }
bool operator==(const Picture& a, const Picture& b) { return Fields(a) == Fields(b); }
void PrintTo(const Picture& p, std::ostream* out) { *out << testing::PrintToString(Fields(p)); }

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Hex(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    Bytes bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) bytes.push_back(std::uint8_t(std::stoi(text.substr(i, 2), nullptr, 16)));
    return bytes;
}

Bytes Repeat(const Bytes& part, std::int64_t times) {
    Bytes all;
    for (std::int64_t i = 0; i < times; ++i) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The host is little-endian, as the format is.
Bytes Mbm(std::int32_t w, std::int32_t h, int type, int sub, const Bytes& body) {
    Bytes file = Hex("4D42 00000000 00000000") + Bytes{std::uint8_t(type), std::uint8_t(sub)} + body;
    std::memcpy(&file[2], &w, 4);
    std::memcpy(&file[6], &h, 4);
    return file;
}

// Its own block, so that a read past the end is a sanitizer's report.
Bytes Cut(const Bytes& file, std::size_t size) { return Bytes(file.begin(), file.begin() + std::ptrdiff_t(size)); }

int Decode(Picture& p, const Bytes& file) {
    largest = 0;
    return DecodeMbm(p, file.data(), file.size());
}

// One grey, type 3, in runs of up to 256 pixels.
Bytes Grey(std::int32_t w, std::int32_t h) {
    Bytes runs;
    for (std::int64_t left = std::int64_t{w} * h; left > 0; left -= 256)
        runs.insert(runs.end(), {std::uint8_t(std::min<std::int64_t>(left, 256) - 1), 7});
    return Mbm(w, h, 3, 1, runs);
}

Picture Make(int w, int h, int bits, const char* pixels, const Bytes& palette = {}) {
    return Picture{w, h, bits, palette, Hex(pixels)};
}

// The header's refusals, and each type's highest subtype and the one after
// it, at size 0. A bad signature leaves the old picture; any other refusal
// leaves none.
TEST(MbmDecoder, Header) {
    struct { const char* file; int result; } cases[] = {
        {"4D",                                           1},
        {"4D62 00",                                      1},
        {"4D42",                                         6},
        {"4D42 FFFFFFFF 01000000",                       2},
        {"4D42 01000000 FFFFFFFF 0200",                  2},
        {"4D42 01000000 01000000",                       6},
        {"4D42 01000000 01000000 06",                    3},
        {"4D42 01000000 01000000 05",                    6},
        {"4D42 FFFFFF7F FFFFFF7F 0502 FFFFFFFF",         6},
        {"4D42 03000000 01000000 0301 0307",             6},
        {"4D42 00000000 00000000 0001 0102030405060708", 0},
        {"4D42 00000000 00000000 0002",                  4},
        {"4D42 00000000 00000000 0101",                  0},
        {"4D42 00000000 00000000 0102",                  4},
        {"4D42 00000000 00000000 0204 0100 09090909",    0},
        {"4D42 00000000 00000000 0205",                  4},
        {"4D42 00000000 00000000 0301",                  0},
        {"4D42 00000000 00000000 0302",                  4},
        {"4D42 00000000 00000000 0401",                  0},
        {"4D42 00000000 00000000 0402",                  4},
        {"4D42 00000000 00000000 0502",                  0},
        {"4D42 00000000 00000000 0503",                  4},
        {"4D42 00000000 00000000 0600",                  3},
    };
    for (auto& c : cases) {
        Picture p = Make(1, 1, 8, "05");
        EXPECT_EQ(Decode(p, Hex(c.file)), c.result) << c.file;
        EXPECT_EQ(p.width, c.result == 1 ? 1 : 0) << c.file;
    }
    Picture p = Make(1, 1, 8, "05");
    EXPECT_EQ(DecodeMbm(p, nullptr, 20), MbmResult::NoData);
    EXPECT_EQ(p, Make(1, 1, 8, "05"));
    EXPECT_EQ(Decode(p, Hex("4D42 FFFFFFFF 01000000")), 2);
    EXPECT_EQ(p, Picture{});
}

// Subtype 0, 3 × 1 pixels: the palette part, `units` times its unit, then
// the pixels as the picture keeps them. Type 3 skips its palette.
TEST(MbmDecoder, RawPixels) {
    struct { int type; const char* unit; int units; bool kept; const char* pixels; } cases[] = {
        {0, "01020304", 2,   true,  "A0"},
        {2, "07060504", 256, true,  "010203"},
        {3, "07060504", 256, false, "010203"},
        {4, "",         0,   false, "010203 040506 070809"},
        {5, "",         0,   false, "01020304 05060708 090A0B0C"},
    };
    for (auto& c : cases) {
        Bytes palette = Repeat(Hex(c.unit), c.units);
        Bytes file = Mbm(3, 1, c.type, 0, palette + Hex(c.pixels));
        Picture p;
        EXPECT_EQ(Decode(p, file), 0) << c.type;
        EXPECT_EQ(p.pixels, Hex(c.pixels)) << c.type;
        EXPECT_EQ(p.palette, c.kept ? palette : Bytes{}) << c.type;
        EXPECT_EQ(Decode(p, Cut(file, file.size() - 1)), 6) << c.type;
    }
}

// Every code at its shortest and longest run, and every one-pixel code: it
// decodes alone to exactly its pixels, and cut anywhere in the body it gives
// 6 and no picture. A picture one pixel longer than its body holds is
// refused, before anything is allocated when the body is all densest codes.
// Type 2's body starts with a palette of one entry.
TEST(MbmDecoder, RunCodes) {
    struct { int type, sub; const char* code; std::int32_t count; const char* value; bool densest; } cases[] = {
        {3, 1, "00 07",             1,     "07",       false},
        {3, 1, "FF 07",             256,   "07",       true},
        {2, 2, "FE",                1,     "FE",       false},
        {2, 2, "FF 00 07",          4,     "07",       false},
        {2, 2, "FF FF 07",          259,   "07",       true},
        {2, 3, "7F",                1,     "7F",       false},
        {2, 3, "80 07",             3,     "07",       false},
        {2, 3, "FF 07",             130,   "07",       true},
        {2, 4, "FD",                1,     "FD",       false},
        {2, 4, "FF 00 07",          4,     "07",       false},
        {2, 4, "FE 0000 07",        260,   "07",       false},
        {2, 4, "FE 0102 07",        773,   "07",       false},
        {2, 4, "FE FFFF 07",        65795, "07",       true},
        {4, 1, "00 010203",         1,     "010203",   false},
        {4, 1, "FF 010203",         256,   "010203",   true},
        {5, 1, "00 01020304",       1,     "01020304", false},
        {5, 1, "FF 01020304",       256,   "01020304", true},
        {5, 2, "FE010203",          1,     "FE010203", false},
        {5, 2, "FF000203",          1,     "FF000203", false},
        {5, 2, "FF010201 05060708", 514,   "05060708", false},
        {5, 2, "FF01FFFF 05060708", 65791, "05060708", true},
        {5, 2, "FF020203 0405",     2,     "02030405", false},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.code);
        Bytes body = Hex(c.type == 2 ? "0100 09090909" : "") + Hex(c.code);
        Bytes file = Mbm(c.count, 1, c.type, c.sub, body);
        Picture p;
        EXPECT_EQ(Decode(p, file), 0);
        EXPECT_EQ(p.pixels, Repeat(Hex(c.value), c.count));
        EXPECT_EQ(Decode(p, Mbm(c.count + 1, 1, c.type, c.sub, body)), 6);
        EXPECT_EQ(largest == 0, c.densest);
        for (std::size_t n = 12; n < file.size(); ++n) EXPECT_EQ(Decode(p, Cut(file, n)), 6) << n;
        EXPECT_EQ(p, Picture{});
    }
}

// 1 bit, 9 × 2: runs of clear and set pixels, each row padded to 16 bits.
TEST(MbmDecoder, BitRuns) {
    struct { const char* runs; int result; const char* pixels; } cases[] = {
        {"10 05 0A", 0, "0000 E000"},
        {"23",       0, "FF80 FF80"},
        {"25",       6, ""},
        {"24",       0, "0000 0000"},
        {"03 1C 01", 0, "C000 0080"},
        {"03 1C",    6, ""},
    };
    for (auto& c : cases) {
        Picture p;
        EXPECT_EQ(Decode(p, Mbm(9, 2, 1, 1, Hex(c.runs))), c.result) << c.runs;
        EXPECT_EQ(p.pixels, Hex(c.pixels)) << c.runs;
    }
}

// The decoder's cap, 64 MiB of pixels, is reached exactly by 8192 × 8192.
TEST(MbmDecoder, PixelCap) {
    Picture p;
    EXPECT_EQ(Decode(p, Grey(8192, 8192)), 0);
    EXPECT_EQ(Decode(p, Grey(8192, 8193)), 5);
}

// The box takes at most 400 pixels each way, refused from the header alone.
TEST(AboutPicture, TheBoxTakesWhatItsWaveCovers) {
    struct { Bytes file; int result; } cases[] = {
        {Grey(401, 1),                PictureTooLarge},
        {Grey(1, 401),                PictureTooLarge},
        {Grey(8192, 8192),            PictureTooLarge},
        {Cut(Grey(401, 1), 10),       PictureTooLarge},
        {Cut(Grey(1, 1), 9),          6},
        {Grey(-1, 1),                 2},
        {Mbm(400, 400, 3, 1, {0, 1}), 6},
    };
    for (auto& c : cases) {
        Picture p = Make(1, 1, 8, "05");
        largest = 0;
        EXPECT_EQ(LoadAboutPicture(p, c.file.data(), c.file.size()), c.result);
        EXPECT_EQ(p, Picture{});
        EXPECT_EQ(largest, 0u);
    }
    Picture p;
    EXPECT_EQ(LoadAboutPicture(p, nullptr, 20), MbmResult::NoData);
    Bytes most = Grey(400, 400);
    EXPECT_EQ(LoadAboutPicture(p, most.data(), most.size()), 0);
    EXPECT_EQ(p.pixels, Bytes(400 * 400, 7));
}

TEST(PictureValue, PixelDataSize) {
    EXPECT_EQ(PixelDataSize(-1, 2, 8), 0u);
    EXPECT_EQ(PixelDataSize(2, -1, 8), 0u);
    EXPECT_EQ(PixelDataSize(3, 2, 16), 0u);
    EXPECT_EQ(PixelDataSize(0, 3, 8), 0u);
    EXPECT_EQ(PixelDataSize(3, 0, 8), 0u);
}

// A copy equals its source; onto one of the same shape it goes into the
// buffers already there.
TEST(PictureValue, Copies) {
    Picture paletted = Make(1, 1, 8, "01", Bytes(1024, 2));
    Picture sources[] = {Make(1, 1, 8, "03", Bytes(1024, 4)), Make(1, 1, 8, "03"), Make(1, 2, 8, "0102"),
                               Make(4, 1, 8, "01020304"), Picture{}};
    for (Picture& source : sources) {
        Picture target = paletted;
        EXPECT_EQ(CopyPicture(target, source), source);
    }
    Picture target = Make(2, 1, 8, "0506");
    EXPECT_EQ(CopyPicture(target, paletted), paletted);
    largest = 0;
    EXPECT_EQ(CopyPicture(target, sources[0]), sources[0]);
    EXPECT_EQ(largest, 0u);
    EXPECT_EQ(CopyPicture(target, target), sources[0]);
}

// Two colours mixed with weights 1 − f and f, each colour channel weighted
// by its opacity; alike colours stay as they are.
ColourValue Mixed(ColourValue a, ColourValue b, double f) {
    if (a == b) return a;
    auto part = [](ColourValue c, int i) { return double(c >> 8 * i & 0xFF); };
    double t = std::min(std::trunc((1 - f) * part(a, 0) + f * part(b, 0) + 0.5), 255.0);
    ColourValue out = ColourValue(t);
    for (int i = 1; i < 4 && t < 255; ++i) {
        double s = (1 - f) * part(a, i) * (255 - part(a, 0)) + f * part(b, i) * (255 - part(b, 0));
        out |= ColourValue(std::min(std::trunc(s / (255 - t) + 0.5), 255.0)) << 8 * i;
    }
    return out;
}

// The line moved by whole pixels, then each pixel mixed with its neighbour
// on the side it comes from; `step` 1 moves it toward lower indices.
std::vector<ColourValue> Shifted(const std::vector<ColourValue>& q, int step, double amount) {
    int n = int(std::floor(amount));
    auto moved = [&](int i) {
        int from = i + step * n;
        return from >= 0 && from < int(q.size()) ? q[std::size_t(from)] : FillValue;
    };
    std::vector<ColourValue> out;
    for (int i = 0; i < int(q.size()); ++i) out.push_back(Mixed(moved(i), moved(i + step), amount - n));
    return out;
}

TEST(ShiftLine, AgainstAPlainReference) {
    std::mt19937 rng(3);
    ColourValue some[] = {FillValue, 0xFFFFFF00, 0x80402010, 0x123456FF, 0x9A0000C8};
    for (int round = 0; round < 600; ++round) {
        int w = 1 + rng() % 9;
        int h = 1 + rng() % 9;
        int direction = rng() % 4;
        bool row = direction < 2;
        int line = rng() % (row ? h : w);
        double amount = (int(rng() % 97) - 48) / 8.0;
        std::vector<ColourValue> all(w * h);
        std::vector<ColourValue> q;
        for (ColourValue& c : all) c = some[rng() % 5];
        Picture p{w, h, 32, {}, Bytes(all.size() * 4)};
        std::memcpy(p.pixels.data(), all.data(), p.pixels.size());
        int stride = row ? 1 : w;
        ColourValue* first = &all[row ? line * w : line];
        for (int i = 0; i < (row ? w : h); ++i) q.push_back(first[i * stride]);
        if (amount != 0) q = Shifted(q, (direction % 2 == 0) == (amount > 0) ? 1 : -1, std::abs(amount));
        for (std::size_t i = 0; i < q.size(); ++i) first[i * stride] = q[i];
        ShiftLine(p, direction, line, amount);
        Bytes want(p.pixels.size());
        std::memcpy(want.data(), all.data(), want.size());
        ASSERT_EQ(p.pixels, want) << direction << " " << line << " " << amount;
    }
}

// A shift that moves nothing leaves even the depth alone; any other first
// brings the picture to 32 bits.
TEST(ShiftLine, Conversion) {
    Picture bits = Make(9, 2, 1, "8000 0000");
    struct { int direction, line; double amount; } still[] = {
        {ShiftDown, 0, 0.0}, {ShiftDown, 9, 1.0}, {ShiftUp, -1, 1.0}, {ShiftRight, 2, 1.0},
        {4, 0, 1.0},         {-1, 0, 1.0},        {ShiftLeft, 0, NAN},
    };
    for (const auto& c : still) {
        Picture p = bits;
        ShiftLine(p, c.direction, c.line, c.amount);
        EXPECT_EQ(p, bits) << c.direction << " " << c.line << " " << c.amount;
    }
    Picture odd = Make(2, 1, 16, "0102");
    ShiftLine(odd, ShiftLeft, 0, 1.0);  // a depth it cannot bring to 32 bits
    EXPECT_EQ(odd, Make(2, 1, 16, "0102"));
    Picture p = bits;
    ShiftLine(p, ShiftDown, 0, 1.0);
    EXPECT_EQ(Cut(p.pixels, 8), Hex("FF000000 00FFFFFF"));
    EXPECT_EQ(Bytes(p.pixels.begin() + 36, p.pixels.begin() + 44), Hex("00000000 00FFFFFF"));
}

// Every depth, with and without a palette: inversion turns each pixel's
// colour, never its transparency nor a padding bit, and twice restores the
// picture; other operations do nothing; at 32 bits each pixel keeps its colour.
TEST(PictureColours, InversionAndConversion) {
    Bytes palette = Repeat(Hex("0DB45B02 FF004D8C"), 128);
    const char* const any = "0DB45B02FF004D8C 0DB45B02FF004D8C 0DB45B02FF004D8C";
    Picture cases[] = {
        Make(9, 2, 1, "127F 347F"),             Make(9, 2, 1, "127F 347F", Cut(palette, 8)), Make(6, 1, 8, "0DB45B02FF00"),
        Make(6, 1, 8, "0DB45B02FF00", palette), Make(8, 1, 24, any),                         Make(6, 1, 32, any),
    };
    for (Picture& c : cases) {
        Picture p = c;
        AdjustColors(p, 4);
        EXPECT_EQ(p, c);
        AdjustColors(p, InvertColours);
        Picture wide = c;
        ToThirtyTwoBits(wide);
        EXPECT_EQ(wide.bitsPerPixel, 32);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                EXPECT_EQ(PixelAt(p, x, y), PixelAt(c, x, y) ^ 0xFFFFFF00) << c.bitsPerPixel << " " << x;
                EXPECT_EQ(PixelAt(wide, x, y), PixelAt(c, x, y)) << c.bitsPerPixel << " " << x;
            }
        AdjustColors(p, InvertColours);
        EXPECT_EQ(p, c);
    }
    Picture p = cases[0];
    AdjustColors(p, InvertColours);
    EXPECT_EQ(p.pixels, Hex("EDFF CBFF"));
    EXPECT_EQ(PixelAt(cases[0], 0, 0), 0xFFFFFF00u);
    EXPECT_EQ(PixelAt(cases[0], 3, 0), 0u);
    EXPECT_EQ(PixelAt(cases[2], -5, 9), 0xF2F2F200u);
    EXPECT_EQ(PixelAt(cases[2], 9, -1), 0xFFFFFF00u);
    EXPECT_EQ(PixelAt(Picture{}, 0, 0), 0u);
}

TEST(PictureColours, Conversions) {
    ColourValue c = MakeColourValue(9, 200, 100, 0);
    Picture p = Make(3, 1, 8, "00 01 FF");
    ToTrueColor(p, c);  // the ramp from the inverse of c to c
    EXPECT_EQ(p, Make(3, 1, 32, "00379BFF 00379AFE 00C86400"));
    Picture m = Make(9, 1, 1, "8080");
    DefaultPalette(m, c);
    DefaultPalette(m, 0);  // a palette is kept
    Picture bare = Make(9, 1, 1, "8080");
    ToTrueColor(bare, 0);  // 1 bit is left to ExpandMonochrome
    EXPECT_EQ(bare, Make(9, 1, 1, "8080"));
    ExpandMonochrome(m);
    ExpandMonochrome(bare);
    EXPECT_EQ(m, Make(9, 1, 8, "01 00000000000000 01", Hex("00379BFF 00C86400") + Bytes(1016, 0)));
    EXPECT_EQ(bare, Make(9, 1, 8, "FF 00000000000000 FF"));
}

// After the 40-byte header, the colour table (blended over the background,
// or from its inverse to it without a palette) and the rows bottom-up,
// padded to 4 bytes; a depth without a bitmap form gives nothing.
TEST(PictureToDib, Forms) {
    Bytes palette = Hex("000A141E FF0A141E 336400FF") + Bytes(1012, 0);
    Bytes dib = PictureToDib(Make(9, 2, 8, "000102030405060708 090A0B0C0D0E0F1011", palette), 0x332211);
    EXPECT_EQ(Cut(dib, 52), Hex("28000000 09000000 02000000 0100 0800") + Bytes(24, 0) + Hex("1E140A00 33221100 D6065300"));
    EXPECT_EQ(Bytes(dib.begin() + 1064, dib.end()), Hex("090A0B0C0D0E0F1011 000000 000102030405060708 000000"));
    struct { Picture p; std::size_t from; const char* want; } cases[] = {
        {Make(1, 2, 32, "00010203 FF090909"), 40,   "33221100 03020100"},
        {Make(1, 1, 24, "010203"),            40,   "03020100"},
        {Make(9, 1, 1, "FF80"),               40,   "CCDDEE00 33221100 FF800000"},
        {Make(1, 1, 8, "00"),                 1060, "33221100 00000000"},
        {Make(0, 3, 8, ""),                   1064, ""},
        {Make(2, 0, 32, ""),                  40,   ""},
        {Make(1, 1, 16, "0102"),              0,    ""},
    };
    for (auto& c : cases) {
        Bytes form = PictureToDib(c.p, 0x332211);
        ASSERT_GE(form.size(), c.from) << c.p.bitsPerPixel;
        EXPECT_EQ(Bytes(form.begin() + std::ptrdiff_t(c.from), form.end()), Hex(c.want)) << c.want;
    }
    Bytes ramp = PictureToDib(Make(1, 1, 8, "00"), 0x332211);
    EXPECT_EQ(Bytes(ramp.begin() + 40, ramp.begin() + 48), Hex("CCDDEE00 CBDCED00"));
    EXPECT_EQ(DibColourCount(24), 0);
}

// The source is the picture at 32 bits, shown as it is until the first tick;
// every tick shifts the source's rows, then the columns, by the rotating table.
TEST(WaveAnimation, TicksFromTheSource) {
    Picture picture = Make(6, 4, 8, "00FFFFFF28FF 00FFFFFF28FF FF00FFFF28FF 00FFFFFF28FF");
    auto table = [](int k) { return 5 * std::sin(k * std::acos(-1.0) / 100); };
    WaveAnimation wave;
    StartWave(wave, picture);
    Picture want = picture;
    ToThirtyTwoBits(want);
    EXPECT_EQ(wave.frame, want);
    for (int tick = 0; tick < 3; ++tick) {
        want = wave.source;
        for (int r = 0; r < 4; ++r) ShiftLine(want, ShiftRight, r, table(r + tick));
        for (int c = 0; c < 6; ++c) ShiftLine(want, ShiftDown, c, table(c + tick));
        WaveTick(wave);
        EXPECT_EQ(wave.frame, want) << tick;
        EXPECT_EQ(wave.table[399], table(tick));
    }
    StartWave(wave, picture);
    EXPECT_EQ(wave.table[0], 0.0);
}

// The program's own picture, as tools/make_about_picture.py makes it: decoded
// and packed again by a plain greedy encoder (runs of 3 to 130 as run codes,
// the rest one byte a pixel), it gives the same bytes.
TEST(AboutPicture, TheProgramsPictureDecodesAndPacksBack) {
    std::ifstream in(VOP_SOURCE_DIR "/resources/about.mbm", std::ios::binary);
    Bytes file{std::istreambuf_iterator<char>(in), {}};
    Picture p;
    ASSERT_EQ(LoadAboutPicture(p, file.data(), file.size()), 0);
    Bytes packed = Cut(file, 14 + 67 * 4);
    for (std::size_t i = 0, run = 1; i < p.pixels.size(); i += run) {
        for (run = 1; run < 130 && i + run < p.pixels.size() && p.pixels[i + run] == p.pixels[i];) ++run;
        if (run < 3) run = 1;
        if (run > 1) packed.push_back(std::uint8_t(125 + run));
        packed.push_back(p.pixels[i]);
    }
    EXPECT_EQ(packed, file);
    EXPECT_EQ(p.width, 255);
    EXPECT_EQ(p.height, 75);
    EXPECT_EQ(p.bitsPerPixel, 8);
    // Black, its transparency rising to 255 at entry 66; nothing after.
    for (unsigned i = 0; i < 256; ++i) EXPECT_EQ(PaletteEntry(p, i), i < 67 ? (i * 255 + 33) / 66 : 0) << i;
}

// One About command in four shows the curtain, as the C runtime's generator
// draws it; a picture whose first colour would vanish on the face is shown
// inverted; the picture is centred; the closing depends on the system.
TEST(AboutBox, Choices) {
    bool curtain[] = {false, false, false, false, true, true};
    for (int s = 0; s < 6; ++s) EXPECT_EQ(AboutUsesCurtain(1796600000 + s), curtain[s]) << s;
    struct { ColourValue first; std::uint32_t face; bool inverted; } shown[] = {
        {0xFFFFFF00, 0xF0F0F0, true},
        {0xFFFFFF00, 1,        true},
        {0xFFFFFF00, 0,        false},
        {0,          0,        true},
        {0,          0xF0F0F0, false},
        {FillValue,  0,        false},
    };
    for (const auto& c : shown) EXPECT_EQ(PictureShownInverted(c.first, c.face), c.inverted) << c.first << " " << c.face;
    EXPECT_EQ(PictureLeft(300, 255), 22);
    EXPECT_EQ(PictureLeft(100, 255), -77);
    WaveClosing closing[] = {WaveClosing::FadeOut, WaveClosing::Animate, WaveClosing::AtOnce, WaveClosing::AtOnce};
    for (int version = 4; version < 8; ++version) {
        EXPECT_EQ(int(WaveClosingFor(version)), int(closing[version - 4])) << version;
        EXPECT_EQ(CurtainFadesOut(version), version < 6) << version;
    }
}

}  // namespace
}  // namespace vop
