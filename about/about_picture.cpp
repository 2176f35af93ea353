#include "about/about_picture.h"

#include "about/mbm_decoder.h"
#include "about/wave_animation.h"

namespace vop {
namespace {

static_assert(AboutPictureLimit == WaveTableSize, "the box shows what its wave covers");

constexpr std::size_t HeaderSize = 10;  // "MB", width, height

// A signed 32-bit little-endian header field.
std::int32_t HeaderField(const std::uint8_t* at) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= std::uint32_t{at[i]} << (8 * i);
    return static_cast<std::int32_t>(value);
}

}  // namespace

int LoadAboutPicture(Picture& picture, const std::uint8_t* data, std::size_t size) {
    EmptyPicture(picture);
    // A header too short to give both sides, or a negative side, is the
    // decoder's to refuse; it allocates nothing for either.
    if (data && size >= HeaderSize &&
        (HeaderField(data + 2) > AboutPictureLimit || HeaderField(data + 6) > AboutPictureLimit))
        return PictureTooLarge;
    return DecodeMbm(picture, data, size);
}

}  // namespace vop
