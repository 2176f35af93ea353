// Vertical scrolls of the text view: they move TopLine through the line index.
// The public moves of caret_navigation.h call these while the text view is on.
#pragma once

#include "app/editor_state.h"

namespace vop {

void TextPageDown(EditorState& s);
void TextPageUp(EditorState& s);
void TextScrollLineDown(EditorState& s);
void TextScrollLineUp(EditorState& s);

}  // namespace vop
