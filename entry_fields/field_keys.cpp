#include "entry_fields/field_keys.h"

namespace vop {

std::optional<std::uint8_t> DigitKeyValue(unsigned virtualKey) {
    const unsigned key = virtualKey & 0xFFu;
    if (key >= 48 && key <= 57) return static_cast<std::uint8_t>(key - 48);       // 0-9
    if (key >= 65 && key <= 70) return static_cast<std::uint8_t>(key - 65 + 10);  // A-F
    if (key >= 96 && key <= 105) return static_cast<std::uint8_t>(key - 96);      // keypad 0-9
    return std::nullopt;
}

}  // namespace vop
