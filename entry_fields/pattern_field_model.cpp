#include "entry_fields/pattern_field_model.h"

#include <algorithm>
#include <cstring>

namespace vop {
namespace {

bool IsFull(const PatternFieldState& s) { return s.length >= s.capacity; }

// The furthest cell the caret may reach: just after the last byte, or the
// last cell itself when the pattern is full.
std::int32_t LastCaretCell(const PatternFieldState& s) {
    return PatternCellsPerByte(s) * s.length - (IsFull(s) ? 1 : 0);
}

// A record filled in by hand, or a field made narrower, may carry numbers the
// field cannot hold; every rule starts from a record whose caret lies within
// the pattern and within the visible cells, so no write lands outside the
// 256 bytes. Scrolling a caret back into view keeps its cell position.
void KeepInRange(PatternFieldState& s, std::int32_t visible) {
    const std::int32_t w = PatternCellsPerByte(s);
    s.capacity = PatternFieldCapacity;
    s.length = std::clamp(s.length, 0, s.capacity);
    s.firstVisible = std::clamp(s.firstVisible, 0, LastCaretCell(s) / w);
    s.caretColumn = std::clamp(s.caretColumn, 0, LastCaretCell(s) - w * s.firstVisible);
    if (s.caretColumn > visible - 1) {
        const std::int32_t bytes = (s.caretColumn - (visible - 1) + w - 1) / w;
        s.firstVisible += bytes;
        s.caretColumn -= w * bytes;
    }
}

void RemoveByteAt(PatternFieldState& s, std::int32_t index) {
    std::copy(s.bytes.begin() + index + 1, s.bytes.begin() + s.length, s.bytes.begin() + index);
    --s.length;
}

// One cell further on: the caret walks right until the last visible cell,
// then the view scrolls one byte under it (in the hex row the caret steps
// back a cell, as the view moved two).
void Advance(PatternFieldState& s, std::int32_t visible) {
    if (s.caretColumn < visible - 1) {
        ++s.caretColumn;
    } else {
        ++s.firstVisible;
        if (s.isHex) --s.caretColumn;
    }
}

void StepLeft(PatternFieldState& s) {
    if (s.caretColumn > 0) {
        --s.caretColumn;
    } else if (s.firstVisible > 0) {
        --s.firstVisible;  // in the hex row: to the high digit of the byte before
    }
}

void StepRight(PatternFieldState& s, std::int32_t visible) {
    if (PatternCaretCell(s) < LastCaretCell(s)) Advance(s, visible);
}

// The caret goes after the last byte (on it when full), with the view
// scrolled so that the caret sits on the rightmost visible cells.
void ToEnd(PatternFieldState& s, std::int32_t visible) {
    const std::int32_t w = PatternCellsPerByte(s);
    s.firstVisible = std::max(s.length - (visible - 1) / w, 0);
    s.caretColumn = (s.length - s.firstVisible) * w;
    if (!IsFull(s)) return;
    if (s.firstVisible > 0) {
        --s.firstVisible;
        if (s.isHex) ++s.caretColumn;
    } else {
        --s.caretColumn;  // a field wide enough to show all 256 bytes
    }
}

// Character row: the byte before the caret. Hex row on a high digit: the
// byte before, the caret staying with its byte; on a low digit: the caret's
// own byte, the caret landing on the high digit of the byte that followed.
bool Backspace(PatternFieldState& s) {
    const std::int32_t p = PatternCaretCell(s);
    if (p == 0) return false;
    const bool onLowDigit = s.isHex && p % 2 == 1;
    RemoveByteAt(s, s.isHex ? p / 2 - (onLowDigit ? 0 : 1) : p - 1);
    const std::int32_t back = s.isHex && !onLowDigit ? 2 : 1;
    if (onLowDigit || s.caretColumn > 0) {
        s.caretColumn -= back;
    } else {
        --s.firstVisible;
    }
    return true;
}

// The caret's byte; in the hex row the caret goes to its high digit.
bool Delete(PatternFieldState& s) {
    const std::int32_t p = PatternCaretCell(s);
    const std::int32_t index = s.isHex ? p / 2 : p;
    if (index >= s.length) return false;
    RemoveByteAt(s, index);
    if (s.isHex && p % 2 == 1) --s.caretColumn;
    return true;
}

FieldOutcome Edited() {
    FieldOutcome o;
    o.placeCaret = true;
    o.repaint = true;
    o.updatePartner = true;
    return o;
}

// Hex entry overwrites the digit under the caret; a high digit clears the low
// one. Typed just after the end it appends a byte. A full pattern keeps the
// caret where it is, on its last cell at the furthest.
FieldOutcome HexDigit(PatternFieldState& s, unsigned key, std::int32_t visible) {
    const auto digit = DigitKeyValue(key);
    if (!s.isHex || !digit) return {};
    const std::int32_t p = PatternCaretCell(s);
    std::uint8_t& b = s.bytes[static_cast<std::size_t>(p / 2)];
    b = p % 2 == 0 ? static_cast<std::uint8_t>(*digit << 4) : static_cast<std::uint8_t>((b & 0xF0) | *digit);
    if (IsFull(s)) return Edited();
    Advance(s, visible);
    const std::int32_t q = PatternCaretCell(s);
    if (q % 2 == 1 && q / 2 == s.length) ++s.length;
    return Edited();
}

}  // namespace

std::int32_t PatternCellsPerByte(const PatternFieldState& s) { return s.isHex ? 2 : 1; }

std::int32_t PatternVisibleCells(const PatternFieldState& s, int clientWidth) {
    const std::int32_t w = PatternCellsPerByte(s);
    // A hex byte half in view would put the caret under a digit never drawn.
    return std::max((clientWidth - 2) / FieldPositionWidth / w * w, w);
}

std::int32_t PatternCaretCell(const PatternFieldState& s) {
    return PatternCellsPerByte(s) * s.firstVisible + s.caretColumn;
}

FieldOutcome PatternFieldKeyDown(PatternFieldState& s, unsigned virtualKey, int clientWidth) {
    const std::int32_t visible = PatternVisibleCells(s, clientWidth);
    KeepInRange(s, visible);
    const std::int32_t scrolledBefore = s.firstVisible;
    switch (virtualKey & 0xFFu) {
        case fieldkey::Left: StepLeft(s); break;
        case fieldkey::Right: StepRight(s, visible); break;
        case fieldkey::Home: s.firstVisible = 0; s.caretColumn = 0; break;
        case fieldkey::End: ToEnd(s, visible); break;
        case fieldkey::Backspace: return Backspace(s) ? Edited() : FieldOutcome{};
        case fieldkey::Delete: return Delete(s) ? Edited() : FieldOutcome{};
        default: return HexDigit(s, virtualKey, visible);
    }
    FieldOutcome o;
    o.placeCaret = true;
    o.repaint = s.firstVisible != scrolledBefore;
    return o;
}

bool PatternFieldIsPasteKey(const PatternFieldState& s, unsigned virtualKey, HeldKeys held) {
    return !s.isHex && held.shortcut() && (virtualKey & 0xFFu) == fieldkey::LetterV;
}

FieldOutcome PatternFieldPaste(PatternFieldState& s, const std::uint8_t* text, std::size_t available) {
    const std::size_t room = text ? std::min(available, static_cast<std::size_t>(PatternFieldCapacity)) : 0;
    const std::size_t n = static_cast<std::size_t>(std::find(text, text + room, 0) - text);
    std::copy(text, text + n, s.bytes.begin());
    s.length = static_cast<std::int32_t>(n);
    s.firstVisible = 0;
    s.caretColumn = 0;
    return Edited();
}

FieldOutcome PatternFieldChar(PatternFieldState& s, unsigned charCode, HeldKeys held, int clientWidth) {
    const auto code = static_cast<std::uint8_t>(charCode & 0xFFu);
    // Backspace arrives as a key press too, and is handled there.
    if (s.isHex || held.shortcut() || code == fieldkey::Backspace) return {};
    const std::int32_t visible = PatternVisibleCells(s, clientWidth);
    KeepInRange(s, visible);
    if (IsFull(s)) {
        FieldOutcome refused;
        refused.playDefaultSound = true;
        return refused;
    }
    const std::int32_t p = PatternCaretCell(s);
    std::copy_backward(s.bytes.begin() + p, s.bytes.begin() + s.length, s.bytes.begin() + s.length + 1);
    s.bytes[static_cast<std::size_t>(p)] = code;
    ++s.length;
    if (!IsFull(s)) Advance(s, visible);  // the 256th byte keeps the caret on it
    return Edited();
}

FieldOutcome PatternFieldClick(PatternFieldState& s, unsigned x, int clientWidth) {
    FieldOutcome o;
    o.takeFocus = true;
    // x = 0 is the margin left of the first cell.
    if (x == 0 || static_cast<long long>(x) >= clientWidth) return o;
    const std::int32_t visible = PatternVisibleCells(s, clientWidth);
    KeepInRange(s, visible);
    const auto cell = static_cast<std::int32_t>((x - 1) / FieldPositionWidth);
    // Never past the place after the last byte (the last cell when full), nor
    // onto the sliver of a cell at the right edge that is not drawn.
    const std::int32_t furthest = LastCaretCell(s) - PatternCellsPerByte(s) * s.firstVisible;
    s.caretColumn = std::min({cell, furthest, visible - 1});
    o.placeCaret = true;
    return o;
}

FieldOutcome PatternFieldSetBytes(PatternFieldState& s, std::size_t count, const std::uint8_t* source) {
    const std::size_t n = source ? std::min(count, static_cast<std::size_t>(PatternFieldCapacity)) : 0;
    if (n > 0) std::memcpy(s.bytes.data(), source, n);
    s.capacity = PatternFieldCapacity;
    s.length = static_cast<std::int32_t>(n);
    s.firstVisible = 0;
    s.caretColumn = 0;
    FieldOutcome o;
    o.repaint = true;
    return o;
}

void PatternFieldGetBytes(const PatternFieldState& s, std::int32_t* length, std::uint8_t* destination) {
    const std::int32_t n = std::clamp(s.length, 0, PatternFieldCapacity);
    if (length) *length = n;
    if (destination && n > 0) std::memcpy(destination, s.bytes.data(), static_cast<std::size_t>(n));
}

std::string PatternFieldText(const PatternFieldState& s) {
    std::string text;
    for (std::int32_t i = 0; i < std::clamp(s.length, 0, PatternFieldCapacity); ++i) {
        const std::uint8_t b = s.bytes[static_cast<std::size_t>(i)];
        if (s.isHex) {
            text.push_back(static_cast<char>(HexDigitChar(static_cast<std::uint8_t>(b >> 4))));
            text.push_back(static_cast<char>(HexDigitChar(static_cast<std::uint8_t>(b & 0x0F))));
        } else {
            text.push_back(b == 0 ? ZeroByteShown : static_cast<char>(b));
        }
    }
    return text;
}

FieldOutcome PatternFieldSetText(PatternFieldState& s, const char* text) {
    std::string bytes;
    if (!s.isHex) {
        bytes = text ? text : "";
    } else {
        const std::string digits = HexDigitsOf(text);
        for (std::size_t i = 0; i < digits.size(); i += 2) {
            const int low = i + 1 < digits.size() ? digits[i + 1] : 0;
            bytes.push_back(static_cast<char>(digits[i] << 4 | low));
        }
    }
    PatternFieldSetBytes(s, bytes.size(), reinterpret_cast<const std::uint8_t*>(bytes.data()));
    return Edited();
}

std::vector<FieldGlyph> PatternFieldGlyphs(const PatternFieldState& s, int clientWidth) {
    const std::int32_t w = PatternCellsPerByte(s);
    const std::int32_t length = std::clamp(s.length, 0, PatternFieldCapacity);
    const std::int32_t first = std::clamp(s.firstVisible, 0, length);
    const std::int32_t cells = std::min(PatternVisibleCells(s, clientWidth), w * (length - first));
    std::vector<FieldGlyph> glyphs;
    glyphs.reserve(static_cast<std::size_t>(cells));
    for (std::int32_t j = 0; j < cells; ++j) {
        const std::uint8_t b = s.bytes[static_cast<std::size_t>(first + j / w)];
        const std::uint8_t code = !s.isHex ? b : HexDigitChar(static_cast<std::uint8_t>(j % 2 == 0 ? b >> 4 : b & 0x0F));
        glyphs.push_back({FieldPositionX(j), code});
    }
    return glyphs;
}

}  // namespace vop
