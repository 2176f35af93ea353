// Searching forward for a byte sequence and moving the caret onto it.
#pragma once

#include <cstdint>

#include "state/editor_state.h"

namespace vop {

// Results: 1 found (the caret is on the occurrence's first byte, which holds
// the sequence), 0 no occurrence, -1 the file could not be read or the jump
// failed (reported already), SearchCancelled the user stopped it with Esc
// (nothing reported). The caret moves on 1, and on 0 only when a jump found
// the bytes gone from under the caret and nothing matched after them.
constexpr int SearchCancelled = -2;

// From the caret itself.
int SearchSequence(EditorState& s, const std::uint8_t* pattern, std::int32_t length, BoxOwner owner);
// From the byte after the caret: F3, Ctrl+L, Shift+F7, and a replace the
// user answered No.
int FindNext(EditorState& s, const std::uint8_t* pattern, std::int32_t length, BoxOwner owner);

}  // namespace vop
