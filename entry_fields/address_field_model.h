// The record behind a VopAddressField: up to eight hex digits typed in insert
// mode, most significant first. Every input rule lives here so that the window
// procedure only applies the outcome.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "entry_fields/field_keys.h"

namespace vop {

constexpr std::int32_t AddressFieldRoom = 8;

struct AddressFieldState {
    std::int32_t count = 0;     // digits entered, 0..capacity
    std::int32_t caretPos = 0;  // 0..capacity-1, never past the digits
    std::int32_t capacity = AddressFieldRoom;
    std::array<std::uint8_t, AddressFieldRoom> digits{};  // only the first `count` mean anything
};

// An empty field taking `capacity` digits (kept within 1..8, the room of the record).
AddressFieldState MakeAddressFieldState(std::int32_t capacity);

// WM_KEYDOWN: Left, Right, End, Home move; Backspace and Delete remove a
// digit; a digit key inserts at the caret, or asks for the refusal sound
// when the field is full.
FieldOutcome AddressFieldKeyDown(AddressFieldState& s, unsigned virtualKey);

// WM_SETTEXT: `requestedCount` digit values from `source` (kept within
// capacity; each value taken modulo 16). The caret goes back to position 0.
FieldOutcome AddressFieldSetDigits(AddressFieldState& s, std::size_t requestedCount, const std::uint8_t* source);
// WM_GETTEXT: all `capacity` slots into `slots` (room for 8), the count into `count`.
// Slots at and beyond the count may hold stale digits.
void AddressFieldGetDigits(const AddressFieldState& s, std::uint8_t* slots, std::int32_t* count);

// The standard text messages, for screen readers and other programs: the
// digits the field shows, and a text whose digits (as many as the field
// takes, the other characters left out) replace them, the caret going home.
std::string AddressFieldText(const AddressFieldState& s);
FieldOutcome AddressFieldSetText(AddressFieldState& s, const char* text);

// The number the digits spell, most significant first, as unsigned 32 bits.
// Only the first `count` (at most 8) digits are read.
std::uint32_t AddressFieldValue(const std::uint8_t* digits, std::int32_t count);
std::uint32_t AddressFieldValue(const AddressFieldState& s);

// Where the Goto dialog jumps: nowhere for an empty field or for the address
// the caret is already on.
std::optional<std::uint32_t> GotoDialogTarget(const std::uint8_t* digits, std::int32_t count,
                                              std::uint32_t caretAddress);

// What WM_PAINT draws, in order.
std::vector<FieldGlyph> AddressFieldGlyphs(const AddressFieldState& s);

}  // namespace vop
