// The jump to an absolute address, behind the Goto dialog, the search, the
// scroll bar thumb and the return from the text view.
#pragma once

#include <cstdint>

#include "app/editor_state.h"

namespace vop {

void GotoAddress(EditorState& s, std::uint32_t address, BoxOwner owner, bool erase);

}  // namespace vop
