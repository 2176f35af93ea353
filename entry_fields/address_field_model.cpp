#include "entry_fields/address_field_model.h"

#include <algorithm>

namespace vop {
namespace {

// A record filled in by hand may carry numbers the field cannot hold; every
// rule starts from a record that keeps every index inside the digit slots.
void KeepInRange(AddressFieldState& s) {
    s.capacity = std::clamp(s.capacity, 1, AddressFieldRoom);
    s.count = std::clamp(s.count, 0, s.capacity);
    s.caretPos = std::clamp(s.caretPos, 0, std::min(s.count, s.capacity - 1));
}

void RemoveDigitAt(AddressFieldState& s, std::int32_t position) {
    for (std::int32_t i = position; i + 1 < s.count; ++i) {
        s.digits[static_cast<std::size_t>(i)] = s.digits[static_cast<std::size_t>(i + 1)];
    }
    --s.count;
}

void InsertDigitAt(AddressFieldState& s, std::int32_t position, std::uint8_t digit) {
    for (std::int32_t i = s.count; i > position; --i) {
        s.digits[static_cast<std::size_t>(i)] = s.digits[static_cast<std::size_t>(i - 1)];
    }
    s.digits[static_cast<std::size_t>(position)] = digit;
    ++s.count;
}

}  // namespace

AddressFieldState MakeAddressFieldState(std::int32_t capacity) {
    AddressFieldState s;
    s.capacity = capacity;
    KeepInRange(s);
    return s;
}

FieldOutcome AddressFieldKeyDown(AddressFieldState& s, unsigned virtualKey) {
    KeepInRange(s);
    FieldOutcome o;
    const unsigned key = virtualKey & 0xFFu;
    switch (key) {
        case fieldkey::Left:
            if (s.caretPos > 0) --s.caretPos;
            o.placeCaret = true;
            return o;
        case fieldkey::Right:
            if (s.caretPos < s.count && s.caretPos < s.capacity - 1) ++s.caretPos;
            o.placeCaret = true;
            return o;
        case fieldkey::End:
            s.caretPos = s.count == s.capacity ? s.capacity - 1 : s.count;
            o.placeCaret = true;
            return o;
        case fieldkey::Home:
            s.caretPos = 0;
            o.placeCaret = true;
            return o;
        case fieldkey::Backspace:
            if (s.caretPos >= 1) {
                --s.caretPos;
                RemoveDigitAt(s, s.caretPos);
                o.placeCaret = true;
                o.repaint = true;
            }
            return o;
        case fieldkey::Delete:
            if (s.caretPos < s.count) {
                RemoveDigitAt(s, s.caretPos);
                o.repaint = true;
            }
            return o;
        default:
            break;
    }

    const auto digit = DigitKeyValue(key);
    if (!digit) return o;
    if (s.count < s.capacity) {
        InsertDigitAt(s, s.caretPos, *digit);
        ++s.caretPos;
        if (s.caretPos == s.capacity) s.caretPos = s.capacity - 1;
    } else {
        o.playDefaultSound = true;  // full: nothing is inserted
    }
    o.placeCaret = true;
    o.repaint = true;
    return o;
}

FieldOutcome AddressFieldSetDigits(AddressFieldState& s, std::size_t requestedCount, const std::uint8_t* source) {
    KeepInRange(s);
    const std::size_t room = static_cast<std::size_t>(s.capacity);
    const std::int32_t count = source ? static_cast<std::int32_t>(std::min(requestedCount, room)) : 0;
    for (std::int32_t i = 0; i < count; ++i) {
        s.digits[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(source[i] & 0x0F);
    }
    s.count = count;
    s.caretPos = 0;
    FieldOutcome o;
    o.placeCaret = true;
    o.repaint = true;
    return o;
}

void AddressFieldGetDigits(const AddressFieldState& s, std::uint8_t* slots, std::int32_t* count) {
    const std::int32_t capacity = std::clamp(s.capacity, 1, AddressFieldRoom);
    if (slots) {
        for (std::int32_t i = 0; i < capacity; ++i) slots[i] = s.digits[static_cast<std::size_t>(i)];
    }
    if (count) *count = std::clamp(s.count, 0, capacity);
}

std::string AddressFieldText(const AddressFieldState& s) {
    std::string text;
    for (const FieldGlyph& g : AddressFieldGlyphs(s)) text.push_back(static_cast<char>(g.code));
    return text;
}

FieldOutcome AddressFieldSetText(AddressFieldState& s, const char* text) {
    const std::string digits = HexDigitsOf(text);
    return AddressFieldSetDigits(s, digits.size(), reinterpret_cast<const std::uint8_t*>(digits.data()));
}

std::uint32_t AddressFieldValue(const std::uint8_t* digits, std::int32_t count) {
    if (!digits) return 0;
    const std::int32_t n = std::clamp(count, 0, AddressFieldRoom);
    std::uint32_t value = 0;
    for (std::int32_t i = 0; i < n; ++i) value = (value << 4) | (digits[i] & 0x0Fu);
    return value;
}

std::uint32_t AddressFieldValue(const AddressFieldState& s) {
    return AddressFieldValue(s.digits.data(), std::min(s.count, std::clamp(s.capacity, 1, AddressFieldRoom)));
}

std::optional<std::uint32_t> GotoDialogTarget(const std::uint8_t* digits, std::int32_t count,
                                              std::uint32_t caretAddress) {
    if (count <= 0 || !digits) return std::nullopt;
    const std::uint32_t value = AddressFieldValue(digits, count);
    if (value == caretAddress) return std::nullopt;
    return value;
}

std::vector<FieldGlyph> AddressFieldGlyphs(const AddressFieldState& s) {
    const std::int32_t n = std::clamp(s.count, 0, std::clamp(s.capacity, 1, AddressFieldRoom));
    std::vector<FieldGlyph> glyphs;
    glyphs.reserve(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
        glyphs.push_back({FieldPositionX(i), HexDigitChar(s.digits[static_cast<std::size_t>(i)])});
    }
    return glyphs;
}

}  // namespace vop
