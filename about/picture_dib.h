// The picture as a device-independent bitmap in memory, transparent pixels
// blended over a background colour: a 40-byte header, the colour table (2
// entries for 1 bit, 256 for 8 bits, none otherwise) and the rows bottom-up,
// each padded to 4 bytes. The shell makes a device bitmap of it.
#pragma once

#include <cstdint>
#include <vector>

#include "about/picture.h"

namespace vop {

constexpr std::size_t DibHeaderSize = 40;

// Colour-table entries of a bitmap of that depth.
int DibColourCount(int bitsPerPixel);

// `background` is a platform colour reference, 0x00BBGGRR. Empty when the
// picture's depth has no bitmap form or memory runs out.
std::vector<std::uint8_t> PictureToDib(const Picture& picture, std::uint32_t background);

}  // namespace vop
