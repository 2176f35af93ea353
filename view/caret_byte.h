// The byte under the caret: reading it, and overwriting it by typing or
// through the Modify dialog.
#pragma once

#include <cstdint>
#include <optional>

#include "state/editor_state.h"

namespace vop {

// The byte at CaretOffset of CaretPage, or nothing when the caret is on no
// held byte (no document, or a caret outside its page).
std::optional<std::uint8_t> CaretByte(const EditorState& s);

// Stores `value` at the caret byte of its page block and in the caret's
// screen cell, asks for that cell to be repainted and marks the document
// modified. Nothing happens without a held byte under the caret; a typed
// value equal to the byte still counts as a change.
void WriteCaretByte(EditorState& s, std::uint8_t value);

// The Modify dialog's OK: the same, but a value left as shown changes nothing.
void ModifyCaretByte(EditorState& s, std::uint8_t value);

}  // namespace vop
