// The picture value: its sizes, emptying and deep copies.
#include "about/picture.h"

#include <algorithm>
#include <new>

namespace vop {

std::uint64_t PixelDataSize(std::int64_t width, std::int64_t height, int bitsPerPixel) {
    // A negative side holds nothing.
    const auto w = static_cast<std::uint64_t>(std::max<std::int64_t>(width, 0));
    const auto h = static_cast<std::uint64_t>(std::max<std::int64_t>(height, 0));
    switch (bitsPerPixel) {
        case 1: return h * ((w + 7) / 8);
        case 8: case 24: case 32: return h * w * static_cast<std::uint64_t>(bitsPerPixel / 8);
        default: return 0;
    }
}

ColourValue PaletteEntry(const Picture& picture, unsigned index) {
    const std::size_t at = std::size_t{index} * 4;
    return at + 4 <= picture.palette.size() ? LoadColour(&picture.palette[at]) : 0;
}

void EmptyPicture(Picture& picture) {
    picture.width = picture.height = picture.bitsPerPixel = 0;
    std::vector<std::uint8_t>().swap(picture.palette);
    std::vector<std::uint8_t>().swap(picture.pixels);
}

Picture& CopyPicture(Picture& target, const Picture& source) {
    if (&target == &source) return target;
    // Every animation tick copies a picture onto one of the same shape: the
    // bytes go into the buffers it already has, with no allocation.
    if (target.holdsPixels() && target.width == source.width && target.height == source.height &&
        target.bitsPerPixel == source.bitsPerPixel && target.palette.size() == source.palette.size() &&
        target.pixels.size() == source.pixels.size()) {
        std::copy(source.palette.begin(), source.palette.end(), target.palette.begin());
        std::copy(source.pixels.begin(), source.pixels.end(), target.pixels.begin());
        return target;
    }
    // Built aside, so that running out of memory leaves the target as it was.
    try {
        Picture copy;
        copy.width = source.width;
        copy.height = source.height;
        copy.bitsPerPixel = source.bitsPerPixel;
        copy.palette = source.palette;
        copy.pixels = source.pixels;
        target = std::move(copy);
    } catch (const std::bad_alloc&) {
    }
    return target;
}

}  // namespace vop
