// The Modify dialog's work on the document: read the byte under the caret and
// overwrite it in its page block and in its screen cell.
#pragma once

#include <cstdint>
#include <optional>

#include "app/editor_state.h"

namespace vop {

// The byte at CaretOffset of CaretPage, or none when the caret is on no held byte.
std::optional<std::uint8_t> CaretByte(const EditorState& s);

// Stores `value` at the caret byte of its page block and in the screen grid
// cell of the caret, and marks the document modified. An equal value changes
// nothing. Returns true when the byte changed, so the caller repaints the cell.
bool WriteCaretByte(EditorState& s, std::uint8_t value);

}  // namespace vop
