// The picture as a device-independent bitmap, transparency blended over the
// background, since a device bitmap has no transparency of its own.
#include "about/picture_dib.h"

#include <algorithm>
#include <new>

namespace vop {
namespace {

void Put(std::uint8_t* at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A colour value shown over the background, written blue, green, red, 0.
// `background` holds red, green and blue in its low three bytes.
void PutBlended(std::uint8_t* at, ColourValue c, std::uint32_t background) {
    const unsigned t = c & 0xFF;
    for (int x = 0; x < 3; ++x) {
        const unsigned own = c >> (8 * (x + 1)) & 0xFF, under = background >> (8 * x) & 0xFF;
        at[2 - x] = static_cast<std::uint8_t>(t == 0 ? own : (under * t + own * (255 - t)) / 255);
    }
    at[3] = 0;
}

}  // namespace

int DibColourCount(int bitsPerPixel) { return bitsPerPixel == 1 ? 2 : bitsPerPixel == 8 ? 256 : 0; }

std::vector<std::uint8_t> PictureToDib(const Picture& picture, std::uint32_t background) {
    const int bits = picture.bitsPerPixel;
    if (bits != 1 && bits != 8 && bits != 24 && bits != 32) return {};
    const auto width = static_cast<std::uint64_t>(std::max(picture.width, 0));
    const auto height = static_cast<std::uint64_t>(std::max(picture.height, 0));
    const std::uint64_t stored = PixelDataSize(picture.width, picture.height, bits);
    if (picture.pixels.size() < stored) return {};
    const std::uint64_t rowBytes = (width * static_cast<std::uint64_t>(bits) + 31) / 32 * 4;
    const std::uint64_t storedRow = PixelDataSize(picture.width, 1, bits);
    const auto colours = static_cast<std::size_t>(DibColourCount(bits));
    std::vector<std::uint8_t> dib;
    try {
        dib.assign(static_cast<std::size_t>(DibHeaderSize + 4 * colours + rowBytes * height), 0);
    } catch (const std::exception&) {  // bad_alloc, or a length the vector cannot hold
        return {};
    }

    Put(&dib[0], DibHeaderSize, 4);
    Put(&dib[4], static_cast<std::uint32_t>(width), 4);
    Put(&dib[8], static_cast<std::uint32_t>(height), 4);  // positive: the rows run bottom-up
    Put(&dib[12], 1, 2);
    Put(&dib[14], static_cast<std::uint32_t>(bits), 2);

    std::uint8_t* const table = &dib[DibHeaderSize];
    for (unsigned i = 0; i < colours; ++i) {
        if (picture.hasPalette()) {
            PutBlended(table + 4 * i, PaletteEntry(picture, i), background);
            continue;
        }
        // Without a palette the pixels mean a ramp from the background's inverse to the background.
        for (int x = 0; x < 3; ++x) {
            const std::uint32_t bg = background >> (8 * x) & 0xFF;
            const std::uint32_t value = colours == 2 ? (i == 0 ? 255 - bg : bg) : ((255 - bg) * (255 - i) + bg * i) / 255;
            table[4 * i + static_cast<std::size_t>(2 - x)] = static_cast<std::uint8_t>(value);
        }
    }

    std::uint8_t* const bitsStart = table + 4 * colours;
    // A picture of width 0 has rows without bytes, however many there are.
    for (std::uint64_t y = 0; rowBytes != 0 && y < height; ++y) {
        const std::uint8_t* from = picture.pixels.data() + y * storedRow;
        std::uint8_t* to = bitsStart + (height - 1 - y) * rowBytes;
        if (bits <= 8) {
            std::copy_n(from, static_cast<std::size_t>(storedRow), to);
        } else if (bits == 24) {
            for (std::uint64_t x = 0; x < width; ++x, from += 3, to += 3) to[0] = from[2], to[1] = from[1], to[2] = from[0];
        } else {
            for (std::uint64_t x = 0; x < width; ++x, from += 4, to += 4) PutBlended(to, LoadColour(from), background);
        }
    }
    return dib;
}

}  // namespace vop
