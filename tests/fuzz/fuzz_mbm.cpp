// The MBM decoder on any bytes: it reads nothing past the data and allocates
// within its cap, and what it decodes is a picture whose buffers match its
// size, on which every operation stays within them: the copy, the inversion
// (twice restores), the pixel query (clamped), the conversion to 32 bits (it
// keeps every pixel's colour), line shifts (only their line moves) and the
// bitmap form (its size).
#include "about/line_shift.h"
#include "about/mbm_decoder.h"
#include "about/picture_colours.h"
#include "about/picture_dib.h"
#include "fuzz_support.h"

#include <tuple>

using namespace vop;

static bool Same(const Picture& a, const Picture& b) {
    return std::tie(a.width, a.height, a.bitsPerPixel, a.palette, a.pixels) == std::tie(b.width, b.height, b.bitsPerPixel, b.palette, b.pixels);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Picture before{1, 1, 8, {}, {7}};
    Picture p = before;
    const int result = DecodeMbm(p, data, size);
    Require(result >= -1 && result <= 6 && (result == 1 ? Same(p, before) : result == 0 || Same(p, Picture{})));
    if (result != 0) return 0;
    const int w = p.width, h = p.height, type = data[10];
    const std::uint64_t bytes = PixelDataSize(w, h, p.bitsPerPixel);
    Require(p.pixels.size() == bytes && p.palette.size() == (type == 0 ? 8u : type == 2 ? 1024u : 0u));
    if (bytes > (1u << 22)) return 0;  // the rest runs over every pixel several times: kept quick

    Picture copy;
    Require(Same(CopyPicture(copy, p), p) && Same(CopyPicture(copy, p), p));
    AdjustColors(copy, InvertColours), AdjustColors(copy, InvertColours), Require(Same(copy, p));
    const std::uint32_t background = (size * 0x9E3779B9u ^ data[size - 1]) & 0xFFFFFF;
    const std::vector<std::uint8_t> dib = PictureToDib(p, background);
    const std::uint64_t rowBytes = (std::uint64_t(w) * std::uint64_t(p.bitsPerPixel) + 31) / 32 * 4;
    Require(dib.size() == DibHeaderSize + 4u * std::uint64_t(DibColourCount(p.bitsPerPixel)) + rowBytes * std::uint64_t(h));
    if (!p.holdsPixels() || std::uint64_t(w) * std::uint64_t(h) > (1u << 18)) return 0;

    Require(PixelAt(p, -1, -9) == PixelAt(p, 0, 0) && PixelAt(p, w + 3, h) == PixelAt(p, w - 1, h - 1));
    ExpandMonochrome(copy), ToTrueColor(copy, 0), RgbToTrueColor(copy);
    Require(copy.bitsPerPixel == 32 && copy.pixels.size() == std::size_t(w) * std::size_t(h) * 4 && !copy.hasPalette());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) Require(PixelAt(copy, x, y) == PixelAt(p, x, y));
    // A shift (the first from the decoded depth) changes nothing off its line.
    for (std::size_t i = 12; i + 1 < size && i < 20; i += 2) {
        const int direction = data[i] & 3, line = (data[i] >> 2) % (direction < 2 ? h : w);
        Picture shifted = i == 12 ? p : copy;
        ShiftLine(shifted, direction, line, static_cast<std::int8_t>(data[i + 1]) / 16.0);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) Require((direction < 2 ? y : x) == line || PixelAt(shifted, x, y) == PixelAt(copy, x, y));
    }
    return 0;
}
