// The About box's picture in memory: one value type that owns its buffers.
// Pixels run row by row from the top, without row padding except for 1 bit,
// where each row takes ceil(width / 8) bytes, leftmost pixel in the top bit.
//   1 bit   bits; palette of 2 entries or none
//   8 bits  one palette index per pixel; palette of 256 entries or none
//   24 bits red, green, blue
//   32 bits one colour value per pixel
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vop {

// Four bytes: transparency T, red, green, blue; read as a little-endian
// number, T + R·0x100 + G·0x10000 + B·0x1000000. T = 0 is opaque, 255 fully
// transparent. Palette entries and 32-bit pixels share this layout.
using ColourValue = std::uint32_t;

// The fully transparent colour that fills pixels a shift vacates.
constexpr ColourValue FillValue = 0x000000FFu;

constexpr ColourValue MakeColourValue(std::uint8_t t, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return ColourValue{t} | ColourValue{r} << 8 | ColourValue{g} << 16 | ColourValue{b} << 24;
}

// A colour value kept as four bytes (T, R, G, B), as palettes and 32-bit pixels hold it.
inline ColourValue LoadColour(const std::uint8_t* bytes) {
    return MakeColourValue(bytes[0], bytes[1], bytes[2], bytes[3]);
}
inline void StoreColour(std::uint8_t* bytes, ColourValue c) {
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(c >> (8 * i));
}

struct Picture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bitsPerPixel = 0;      // 0 (empty), 1, 8, 24 or 32
    std::vector<std::uint8_t> palette;  // 4 bytes per entry; empty when there is none
    std::vector<std::uint8_t> pixels;   // empty when the picture holds no pixels

    bool hasPalette() const { return !palette.empty(); }
    bool holdsPixels() const { return !pixels.empty(); }
};

// Bytes of pixel data at that size and depth: height × ceil(width / 8) for 1
// bit, height × width × depth / 8 otherwise; 0 for a negative size or another
// depth. 64-bit, since the sizes come from files: even the largest 32-bit
// picture only wraps to more than 2^63 bytes, far past any buffer.
std::uint64_t PixelDataSize(std::int64_t width, std::int64_t height, int bitsPerPixel);

// Palette entry `index`, or 0 where the palette has no such entry.
ColourValue PaletteEntry(const Picture& picture, unsigned index);

// Width, height and depth 0; both buffers released.
void EmptyPicture(Picture& picture);

// Target becomes a deep copy of source, reusing its buffers when they fit.
Picture& CopyPicture(Picture& target, const Picture& source);

}  // namespace vop
