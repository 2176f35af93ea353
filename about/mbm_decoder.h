// The program's packed picture format, MBM: "MB", width and height (signed
// 32-bit little-endian), type, subtype, then the body. It arrives from the
// program's resources with the resource's size; the decoder treats it as
// untrusted input and never reads past `size`.
#pragma once

#include <cstddef>
#include <cstdint>

#include "about/picture.h"

namespace vop {

namespace MbmResult {
constexpr int Decoded = 0;
constexpr int NoData = -1;          // picture unchanged
constexpr int BadSignature = 1;     // picture unchanged
constexpr int NegativeSize = 2;     // picture empty from here on
constexpr int UnknownType = 3;
constexpr int BadSubtype = 4;
constexpr int NoMemory = 5;
constexpr int CorruptBody = 6;      // a run past the last pixel, a bit outside the buffer,
                                    // a palette count outside 1..256, or the data ends early
}  // namespace MbmResult

// Replaces the picture's content with the decoded image; one of MbmResult.
int DecodeMbm(Picture& picture, const std::uint8_t* data, std::size_t size);

}  // namespace vop
