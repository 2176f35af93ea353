#include "entry_fields/field_keys.h"

#include <algorithm>
#include <cstring>

namespace vop {

std::optional<std::uint8_t> DigitKeyValue(unsigned virtualKey) {
    const unsigned key = virtualKey & 0xFFu;
    if (key >= 48 && key <= 57) return static_cast<std::uint8_t>(key - 48);       // 0-9
    if (key >= 65 && key <= 70) return static_cast<std::uint8_t>(key - 65 + 10);  // A-F
    if (key >= 96 && key <= 105) return static_cast<std::uint8_t>(key - 96);      // keypad 0-9
    return std::nullopt;
}

std::optional<std::uint8_t> HexCharValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
    return std::nullopt;
}

std::string HexDigitsOf(const char* text) {
    std::string digits;
    for (const char* c = text; c && *c; ++c)
        if (const auto d = HexCharValue(*c)) digits.push_back(static_cast<char>(*d));
    return digits;
}

std::size_t CopyFieldText(const std::string& text, char* buffer, std::size_t room) {
    if (!buffer || room == 0) return 0;
    const std::size_t n = std::min(text.size(), room - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n;
}

}  // namespace vop
