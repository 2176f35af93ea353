// The record behind a VopEditField: a fixed-length value typed over in place,
// either as two hex digits per byte or as one character per byte. Every input
// rule lives here so that the window procedure only applies the outcome.
#pragma once

#include <cstdint>
#include <vector>

#include "entry_fields/field_keys.h"

namespace vop {

struct EditFieldState {
    std::uint8_t hexMode = 1;  // 1: two hex digits per byte; 0: one character per byte
    std::uint8_t wrap = 1;     // 1: past the last position the caret returns to 0
    std::int32_t caretPos = 0; // digit index in hex mode, byte index otherwise
    std::int32_t length = 0;   // value bytes
    std::vector<std::uint8_t> bytes;  // the value, byte 0 shown first
};

// A record with a zeroed value of `length` bytes (a negative length gives none).
EditFieldState MakeEditFieldState(std::uint8_t hexMode, std::uint8_t wrap, std::int32_t length);

// Value bytes the record really holds: `length`, but never more than its block.
std::int32_t EditFieldValueLength(const EditFieldState& s);
// Caret positions: two per byte in hex mode, one otherwise. 0 for an empty value.
std::int32_t EditFieldPositions(const EditFieldState& s);

// WM_KEYDOWN: Left, Right, End, Home move the caret; in hex mode a digit key
// replaces the digit under the caret and advances.
FieldOutcome EditFieldKeyDown(EditFieldState& s, unsigned virtualKey);
// WM_CHAR: in text mode the character replaces the byte under the caret.
FieldOutcome EditFieldChar(EditFieldState& s, unsigned charCode);
// WM_LBUTTONDOWN at client x (the low word of lParam).
FieldOutcome EditFieldClick(EditFieldState& s, unsigned x);

// The dialogs' own exchange: the value as raw bytes, EditFieldValueLength of them.
FieldOutcome EditFieldSetValue(EditFieldState& s, const std::uint8_t* source);
void EditFieldGetValue(const EditFieldState& s, std::uint8_t* destination);

// The standard text messages, for screen readers and other programs: the
// text the field shows (its digits, or its characters) and a text to take.
// A hex field takes the text's digits in order, from its first, and the
// characters between them count for nothing; a character field takes the
// characters. Whatever the text leaves out is zero; the caret goes home.
std::string EditFieldText(const EditFieldState& s);
FieldOutcome EditFieldSetText(EditFieldState& s, const char* text);

// What WM_PAINT draws, in order.
std::vector<FieldGlyph> EditFieldGlyphs(const EditFieldState& s);

}  // namespace vop
