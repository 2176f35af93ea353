// The bytes at the caret as the user sees them: the held pages, with their
// unsaved changes. A search hit is only as good as these bytes: a jump that
// dropped the user's changes, or a file changed by another program, may have
// taken the sequence away from under the caret.
#pragma once

#include <cstdint>

#include "state/editor_state.h"

namespace vop {

// The held byte `k` places after the caret (running on from the current page
// into the next one), or null past the held pages.
std::uint8_t* HeldByteAfterCaret(EditorState& s, std::int32_t k);

// Whether the `length` held bytes from the caret are `sequence`. An empty
// sequence is at every caret.
bool CaretHolds(EditorState& s, const std::uint8_t* sequence, std::int32_t length);

}  // namespace vop
