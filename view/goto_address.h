// The jump to an absolute address, behind the Goto dialog, the search, the
// scroll bar thumb, the return from the text view and the jumps to the
// file's ends.
#pragma once

#include <cstdint>

#include "state/editor_state.h"

namespace vop {

// Returns true when the caret is now on `address`. False when the jump was
// refused (the address is beyond the file, as far as the file still reaches)
// or stopped (a save the user asked for failed, or the file could not be
// reloaded); the view then stays where it was and shows the held pages as
// they now are. Boxes are owned by `owner`.
bool GotoAddress(EditorState& s, std::uint32_t address, BoxOwner owner);

}  // namespace vop
