// Searching forward from the caret for the remembered sequence.
#pragma once

#include <cstdint>

#include "state/editor_state.h"

namespace vop {

// Moves the caret to the next occurrence of `pattern` after the caret.
// Result: 1 found (the caret is on it), 0 no occurrence left, -1 the file
// could not be read (the search has then reported it itself).
int FindNext(EditorState& s, const std::uint8_t* pattern, std::int32_t length, BoxOwner owner);

}  // namespace vop
