// The user's settings, kept in "Vop.cfg" beside the program.
#pragma once

#include <cstdint>

namespace vop {

struct Settings {
    std::uint8_t FontType = 0;                 // 0 Ascii, 1 Hex
    std::uint8_t FontCell = 0;                 // 0 Normal (8 px), 1 Double (16), 2 Quad (32)
    std::uint8_t BlockCaret = 0;               // 1 block, 0 underline
    std::uint32_t ForegroundColor = 0x000000;  // 0x00BBGGRR
    std::uint32_t BackgroundColor = 0xFFFFFF;
};

}  // namespace vop
