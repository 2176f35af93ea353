// The depth conversions, the colour inversion and the pixel query. A new
// buffer is always built aside and only then swapped in, so that running out
// of memory leaves the picture as it was.
#include "about/picture_colours.h"

#include <algorithm>
#include <new>

namespace vop {
namespace {

constexpr std::size_t FullPaletteBytes = 1024;

std::uint8_t Channel(ColourValue c, int index) { return static_cast<std::uint8_t>(c >> (8 * index)); }

std::size_t PixelCount(const Picture& picture) {
    return static_cast<std::size_t>(PixelDataSize(picture.width, picture.height, 8));
}

// Whether the pixel buffer holds every pixel the size and depth promise; the
// operations read nothing from a picture that is not.
bool Complete(const Picture& picture) {
    return picture.pixels.size() >= PixelDataSize(picture.width, picture.height, picture.bitsPerPixel);
}

bool BitSet(const Picture& picture, std::size_t x, std::size_t y) {
    const std::size_t rowBytes = (static_cast<std::size_t>(picture.width) + 7) / 8;
    return (picture.pixels[y * rowBytes + x / 8] >> (7 - x % 8) & 1) != 0;
}

void InvertChannels(std::uint8_t* bytes, std::size_t count, std::size_t stride, std::size_t first, std::size_t channels) {
    for (std::size_t at = 0; at + stride <= count; at += stride)
        for (std::size_t i = first; i < first + channels; ++i) bytes[at + i] = static_cast<std::uint8_t>(255 - bytes[at + i]);
}

}  // namespace

void DefaultPalette(Picture& picture, ColourValue c) {
    if (picture.hasPalette() || (picture.bitsPerPixel != 1 && picture.bitsPerPixel != 8)) return;
    try {
        std::vector<std::uint8_t> palette(picture.bitsPerPixel == 1 ? 8 : FullPaletteBytes);
        if (picture.bitsPerPixel == 1) {
            StoreColour(&palette[0], MakeColourValue(0, static_cast<std::uint8_t>(255 - Channel(c, 1)),
                                                     static_cast<std::uint8_t>(255 - Channel(c, 2)),
                                                     static_cast<std::uint8_t>(255 - Channel(c, 3))));
            StoreColour(&palette[4], MakeColourValue(0, Channel(c, 1), Channel(c, 2), Channel(c, 3)));
        } else {
            // A ramp from the inverse of c at index 0 to c itself at 255.
            for (unsigned i = 0; i < 256; ++i)
                for (int x = 1; x <= 3; ++x)
                    palette[i * 4 + static_cast<unsigned>(x)] =
                        static_cast<std::uint8_t>((i * Channel(c, x) + (255 - i) * (255u - Channel(c, x))) / 255);
        }
        picture.palette = std::move(palette);
    } catch (const std::bad_alloc&) {
    }
}

void ExpandMonochrome(Picture& picture) {
    if (picture.bitsPerPixel != 1 || !Complete(picture)) return;
    try {
        const bool paletted = picture.hasPalette();
        std::vector<std::uint8_t> pixels(PixelCount(picture));
        std::vector<std::uint8_t> palette;
        if (paletted) {
            palette.assign(FullPaletteBytes, 0);
            StoreColour(&palette[0], PaletteEntry(picture, 0));
            StoreColour(&palette[4], PaletteEntry(picture, 1));
        }
        const std::uint8_t set = paletted ? 1 : 255;
        const auto width = static_cast<std::size_t>(std::max(picture.width, 0));
        for (std::size_t i = 0; i < pixels.size(); ++i)
            if (BitSet(picture, i % width, i / width)) pixels[i] = set;
        picture.pixels = std::move(pixels);
        picture.palette = std::move(palette);
        picture.bitsPerPixel = 8;
    } catch (const std::bad_alloc&) {
    }
}

void ToTrueColor(Picture& picture, ColourValue c) {
    if (picture.bitsPerPixel != 8 || !Complete(picture)) return;
    DefaultPalette(picture, c);
    if (!picture.hasPalette()) return;
    try {
        ColourValue entries[256];
        for (unsigned i = 0; i < 256; ++i) entries[i] = PaletteEntry(picture, i);
        const std::size_t count = PixelCount(picture);
        std::vector<std::uint8_t> pixels(count * 4);
        for (std::size_t i = 0; i < count; ++i) StoreColour(&pixels[i * 4], entries[picture.pixels[i]]);
        picture.pixels = std::move(pixels);
        std::vector<std::uint8_t>().swap(picture.palette);
        picture.bitsPerPixel = 32;
    } catch (const std::bad_alloc&) {
    }
}

void RgbToTrueColor(Picture& picture) {
    if (picture.bitsPerPixel != 24 || !Complete(picture)) return;
    try {
        const std::size_t count = PixelCount(picture);
        std::vector<std::uint8_t> pixels(count * 4);
        for (std::size_t i = 0; i < count; ++i) std::copy_n(&picture.pixels[i * 3], 3, &pixels[i * 4 + 1]);
        picture.pixels = std::move(pixels);
        picture.bitsPerPixel = 32;
    } catch (const std::bad_alloc&) {
    }
}

void ToThirtyTwoBits(Picture& picture) {
    ExpandMonochrome(picture);
    ToTrueColor(picture, 0);
    RgbToTrueColor(picture);
}

void AdjustColors(Picture& picture, int operation) {
    if (operation != InvertColours || !Complete(picture)) return;
    const std::size_t bytes = static_cast<std::size_t>(PixelDataSize(picture.width, picture.height, picture.bitsPerPixel));
    std::uint8_t* const pixels = picture.pixels.data();
    switch (picture.bitsPerPixel) {
        case 24: InvertChannels(pixels, bytes, 1, 0, 1); return;
        case 32: InvertChannels(pixels, bytes, 4, 1, 3); return;
        case 1:
        case 8:
            if (picture.hasPalette()) {
                InvertChannels(picture.palette.data(), picture.palette.size(), 4, 1, 3);
            } else if (picture.bitsPerPixel == 8) {
                InvertChannels(pixels, bytes, 1, 0, 1);
            } else {
                // Only the bits within the width: a row's padding bits stay as they are.
                // A picture of width 0 has nothing to turn, however many rows it claims.
                const auto width = static_cast<std::size_t>(picture.width);
                const std::size_t rowBytes = (width + 7) / 8;
                for (std::size_t y = 0; width != 0 && y < static_cast<std::size_t>(picture.height); ++y)
                    for (std::size_t x = 0; x < width; ++x)
                        pixels[y * rowBytes + x / 8] ^= static_cast<std::uint8_t>(0x80u >> (x % 8));
            }
            return;
        default: return;
    }
}

ColourValue PixelAt(const Picture& picture, int x, int y) {
    if (picture.width <= 0 || picture.height <= 0 || !picture.holdsPixels() || !Complete(picture)) return 0;
    const auto cx = static_cast<std::size_t>(std::clamp(x, 0, picture.width - 1));
    const auto cy = static_cast<std::size_t>(std::clamp(y, 0, picture.height - 1));
    const std::size_t i = cy * static_cast<std::size_t>(picture.width) + cx;
    switch (picture.bitsPerPixel) {
        case 1: {
            const bool set = BitSet(picture, cx, cy);
            if (picture.hasPalette()) return PaletteEntry(picture, set ? 1 : 0);
            return set ? MakeColourValue(0, 0, 0, 0) : MakeColourValue(0, 255, 255, 255);
        }
        case 8: {
            const std::uint8_t v = picture.pixels[i];
            const auto u = static_cast<std::uint8_t>(255 - v);
            return picture.hasPalette() ? PaletteEntry(picture, v) : MakeColourValue(0, u, u, u);
        }
        case 24: return MakeColourValue(0, picture.pixels[i * 3], picture.pixels[i * 3 + 1], picture.pixels[i * 3 + 2]);
        case 32: return LoadColour(&picture.pixels[i * 4]);
        default: return 0;
    }
}

}  // namespace vop
