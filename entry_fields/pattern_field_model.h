// The record behind a VopAdvancedEditField: one row of a search pattern of up
// to 256 bytes, shown either as characters (one cell per byte; typing inserts)
// or as hex (two digit cells per byte; typing overwrites and appends). Every
// input rule lives here so that the window procedure only applies the outcome.
//
// The caret is a cell position P = cellsPerByte × firstVisible + caretColumn,
// from 0 to the total cells T (P = T is the place just after the last byte).
// A full pattern never leaves the caret at T: there is nothing to type there.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "entry_fields/field_keys.h"

namespace vop {

constexpr std::int32_t PatternFieldCapacity = 256;

struct PatternFieldState {
    std::uint8_t isHex = 0;          // 0: characters, 1: hex digits; fixed at creation
    std::int32_t length = 0;         // bytes in the pattern, 0..capacity
    std::int32_t firstVisible = 0;   // byte shown in the leftmost cell
    std::int32_t caretColumn = 0;    // the caret's cell among the visible ones
    std::int32_t capacity = PatternFieldCapacity;
    std::array<std::uint8_t, PatternFieldCapacity> bytes{};  // only the first `length` mean anything
};

// Cells per byte: 2 in the hex row, 1 otherwise.
std::int32_t PatternCellsPerByte(const PatternFieldState& s);
// Cells a client area `clientWidth` pixels wide shows: one per 8 pixels after
// a pixel of margin each side, whole bytes only, and never less than one byte.
std::int32_t PatternVisibleCells(const PatternFieldState& s, int clientWidth);
// The caret's cell position P.
std::int32_t PatternCaretCell(const PatternFieldState& s);

// WM_KEYDOWN: Left, Right, Home, End move; Backspace and Delete remove a byte;
// in the hex row a digit key overwrites the digit under the caret (appending a
// byte after the end). Only the low byte of the key code counts.
FieldOutcome PatternFieldKeyDown(PatternFieldState& s, unsigned virtualKey, int clientWidth);
// Whether a key press asks for a paste: Ctrl+V in the character row.
bool PatternFieldIsPasteKey(const PatternFieldState& s, unsigned virtualKey, HeldKeys held);
// Ctrl+V: the clipboard's text (up to its terminating zero, never more than
// `available` bytes nor the capacity) replaces the whole pattern.
FieldOutcome PatternFieldPaste(PatternFieldState& s, const std::uint8_t* text, std::size_t available);
// WM_CHAR: the character row inserts the character at the caret, or asks for
// the refusal sound when the pattern is full. Ignored in the hex row, while
// Ctrl is held (without Alt: AltGr types), and for the Backspace character.
FieldOutcome PatternFieldChar(PatternFieldState& s, unsigned charCode, HeldKeys held, int clientWidth);
// WM_LBUTTONDOWN at client x (the low word of lParam).
FieldOutcome PatternFieldClick(PatternFieldState& s, unsigned x, int clientWidth);

// The dialogs' own exchange. Setting: the partner's (or the dialog's) bytes,
// at most the capacity of them; the row scrolls back to its start. The
// platform caret is left alone and the change is not handed on, so two
// partners never echo. Getting: the length into `length`, that many bytes
// into `destination`.
FieldOutcome PatternFieldSetBytes(PatternFieldState& s, std::size_t count, const std::uint8_t* source);
void PatternFieldGetBytes(const PatternFieldState& s, std::int32_t* length, std::uint8_t* destination);

// The standard text messages, for screen readers and other programs. The
// text is what the row shows: its characters, or two digits a byte. A text
// set replaces the pattern as a paste does and goes to the partner: the
// character row takes the characters, the hex row the digits two a byte (a
// last lone digit the high one of a byte, as typed), each up to the capacity.
std::string PatternFieldText(const PatternFieldState& s);
// A 00 byte in the character row reads as a middle dot (code page 1252): the
// row draws a picture for it, and a zero would end the text there.
constexpr char ZeroByteShown = '\xB7';
FieldOutcome PatternFieldSetText(PatternFieldState& s, const char* text);

// What WM_PAINT draws, in order.
std::vector<FieldGlyph> PatternFieldGlyphs(const PatternFieldState& s, int clientWidth);

}  // namespace vop
