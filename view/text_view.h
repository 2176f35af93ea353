// The text view: entering and leaving it, and its scrolls, which move
// TopLine and LeftColumn through the line index. The public scrolls of
// caret_navigation.h call the vertical ones while the text view is on.
#pragma once

#include <cstdint>

#include "state/editor_state.h"

namespace vop {

// Shows the file as text lines from the line holding the hex view's top
// byte, building the index when there is none.
void EnterTextView(EditorState& s);
// Back to the hex view at the first byte of the text view's top line (F4, F3
// and the Find dialog).
void LeaveTextView(EditorState& s);

void TextPageDown(EditorState& s);
void TextPageUp(EditorState& s);
void TextScrollLineDown(EditorState& s);
void TextScrollLineUp(EditorState& s);
void ScrollTextLeft(EditorState& s, std::int32_t count);
void ScrollTextRight(EditorState& s, std::int32_t count);

}  // namespace vop
