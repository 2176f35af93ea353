#include "entry_fields/edit_field_model.h"

#include <algorithm>
#include <cstring>

namespace vop {
namespace {

// A record filled in by hand may carry a caret outside its positions; every
// rule starts from a caret inside them (there is at least one) so no write
// can land outside the value.
void KeepCaretInRange(EditFieldState& s, std::int32_t positions) {
    s.caretPos = std::clamp(s.caretPos, 0, positions - 1);
}

void Advance(EditFieldState& s, std::int32_t positions) {
    if (s.wrap) {
        s.caretPos = (s.caretPos + 1) % positions;
    } else if (s.caretPos < positions - 1) {
        ++s.caretPos;
    }
}

FieldOutcome CaretMoved() {
    FieldOutcome o;
    o.placeCaret = true;
    return o;
}

FieldOutcome CaretMovedAndRepaint() {
    FieldOutcome o;
    o.placeCaret = true;
    o.repaint = true;
    return o;
}

}  // namespace

EditFieldState MakeEditFieldState(std::uint8_t hexMode, std::uint8_t wrap, std::int32_t length) {
    EditFieldState s;
    s.hexMode = hexMode;
    s.wrap = wrap;
    s.length = std::max(length, 0);
    s.bytes.assign(static_cast<std::size_t>(s.length), 0);
    return s;
}

std::int32_t EditFieldValueLength(const EditFieldState& s) {
    if (s.length <= 0) return 0;
    const std::size_t held = s.bytes.size();
    return static_cast<std::size_t>(s.length) <= held ? s.length : static_cast<std::int32_t>(held);
}

std::int32_t EditFieldPositions(const EditFieldState& s) {
    const std::int32_t n = EditFieldValueLength(s);
    return s.hexMode ? 2 * n : n;
}

FieldOutcome EditFieldKeyDown(EditFieldState& s, unsigned virtualKey) {
    const std::int32_t positions = EditFieldPositions(s);
    // With no value there is nothing to move over or type into.
    if (positions == 0) return {};
    KeepCaretInRange(s, positions);

    const unsigned key = virtualKey & 0xFFu;
    switch (key) {
        case fieldkey::Left:
            if (s.caretPos > 0) --s.caretPos;
            return CaretMoved();
        case fieldkey::Right:
            if (s.caretPos < positions - 1) ++s.caretPos;
            return CaretMoved();
        case fieldkey::End:
            s.caretPos = positions - 1;
            return CaretMoved();
        case fieldkey::Home:
            s.caretPos = 0;
            return CaretMoved();
        default:
            break;
    }

    if (!s.hexMode) return {};  // text mode takes characters through WM_CHAR
    const auto digit = DigitKeyValue(key);
    if (!digit) return {};

    std::uint8_t& b = s.bytes[static_cast<std::size_t>(s.caretPos / 2)];
    if (s.caretPos % 2 == 0) {
        b = static_cast<std::uint8_t>((b & 0x0F) | (*digit << 4));
    } else {
        b = static_cast<std::uint8_t>((b & 0xF0) | *digit);
    }
    Advance(s, positions);
    return CaretMovedAndRepaint();
}

FieldOutcome EditFieldChar(EditFieldState& s, unsigned charCode) {
    if (s.hexMode) return {};
    const std::int32_t positions = EditFieldPositions(s);
    if (positions == 0) return {};
    KeepCaretInRange(s, positions);
    s.bytes[static_cast<std::size_t>(s.caretPos)] = static_cast<std::uint8_t>(charCode & 0xFFu);
    Advance(s, positions);
    return CaretMovedAndRepaint();
}

FieldOutcome EditFieldClick(EditFieldState& s, unsigned x) {
    FieldOutcome o;
    o.takeFocus = true;
    const std::int32_t positions = EditFieldPositions(s);
    // x = 0 is the border pixel left of the first position; beyond the last
    // position there is no digit to put the caret on.
    const unsigned end = static_cast<unsigned>(FieldPositionX(positions));
    if (x != 0 && x < end) {
        s.caretPos = static_cast<std::int32_t>((x - 1) / FieldPositionWidth);
        o.placeCaret = true;
    }
    return o;
}

FieldOutcome EditFieldSetValue(EditFieldState& s, const std::uint8_t* source) {
    const std::int32_t n = EditFieldValueLength(s);
    if (source && n > 0) std::memcpy(s.bytes.data(), source, static_cast<std::size_t>(n));
    FieldOutcome o;
    o.repaint = true;
    return o;
}

void EditFieldGetValue(const EditFieldState& s, std::uint8_t* destination) {
    const std::int32_t n = EditFieldValueLength(s);
    if (destination && n > 0) std::memcpy(destination, s.bytes.data(), static_cast<std::size_t>(n));
}

std::string EditFieldText(const EditFieldState& s) {
    std::string text;
    for (std::int32_t i = 0; i < EditFieldValueLength(s); ++i) {
        const std::uint8_t b = s.bytes[static_cast<std::size_t>(i)];
        if (s.hexMode) {
            text.push_back(static_cast<char>(HexDigitChar(static_cast<std::uint8_t>(b >> 4))));
            text.push_back(static_cast<char>(HexDigitChar(static_cast<std::uint8_t>(b & 0x0F))));
        } else {
            text.push_back(static_cast<char>(b));
        }
    }
    return text;
}

FieldOutcome EditFieldSetText(EditFieldState& s, const char* text) {
    const std::string given = s.hexMode ? HexDigitsOf(text) : std::string(text ? text : "");
    const std::int32_t positions = EditFieldPositions(s);
    for (std::int32_t p = 0; p < positions; ++p) {
        const std::uint8_t v = static_cast<std::size_t>(p) < given.size() ? static_cast<std::uint8_t>(given[static_cast<std::size_t>(p)]) : 0;
        std::uint8_t& b = s.bytes[static_cast<std::size_t>(s.hexMode ? p / 2 : p)];
        if (!s.hexMode) {
            b = v;
        } else if (p % 2 == 0) {
            b = static_cast<std::uint8_t>(v << 4);
        } else {
            b = static_cast<std::uint8_t>(b | v);
        }
    }
    s.caretPos = 0;
    return CaretMovedAndRepaint();
}

std::vector<FieldGlyph> EditFieldGlyphs(const EditFieldState& s) {
    const std::int32_t n = EditFieldValueLength(s);
    std::vector<FieldGlyph> glyphs;
    if (s.hexMode) {
        glyphs.reserve(static_cast<std::size_t>(2 * n + 1));
        for (std::int32_t i = 0; i < n; ++i) {
            const std::uint8_t b = s.bytes[static_cast<std::size_t>(i)];
            glyphs.push_back({16 * i + 1, HexDigitChar(static_cast<std::uint8_t>(b >> 4))});
            glyphs.push_back({16 * i + 9, HexDigitChar(static_cast<std::uint8_t>(b & 0x0F))});
        }
        glyphs.push_back({16 * n + 1, static_cast<std::uint8_t>('h')});
    } else {
        glyphs.reserve(static_cast<std::size_t>(n));
        for (std::int32_t i = 0; i < n; ++i) glyphs.push_back({8 * i + 1, s.bytes[static_cast<std::size_t>(i)]});
    }
    return glyphs;
}

}  // namespace vop
