// The jump to an absolute address, behind the Goto dialog, the search, the
// scroll bar thumb and the return from the text view.
#pragma once

#include <cstdint>

#include "app/editor_state.h"

namespace vop {

// Returns true when the caret is now on `address`; false when the jump was
// refused (address beyond the file) or stopped (a save the user asked for
// failed, or the file could not be reloaded), the view then staying put.
bool GotoAddress(EditorState& s, std::uint32_t address, BoxOwner owner, bool erase);

}  // namespace vop
