// Every movement of the caret and of the view, in the hex view and the text view.
#pragma once

#include <cstdint>

#include "state/editor_state.h"

namespace vop {

std::uint32_t CaretAddress(const EditorState& s);
void PlaceCaret(EditorState& s);
// Shows the system caret while a document is open in the hex view and hides
// it otherwise, each only once: the window system counts hides.
void SyncCaretVisibility(EditorState& s);

void MoveRight(EditorState& s);
void MoveLeft(EditorState& s);
void MoveDown(EditorState& s);
void MoveUp(EditorState& s);
void MoveRowStart(EditorState& s);
void MoveRowEnd(EditorState& s);
bool PlaceCaretAtClick(EditorState& s, int x, int y);

void PageDown(EditorState& s);
void PageUp(EditorState& s);
void ScrollLineDown(EditorState& s);
void ScrollLineUp(EditorState& s);

void Relayout(EditorState& s);
void SetupScrollBar(EditorState& s, bool withPosition);
void SyncScrollPosition(EditorState& s);
enum class ThumbKind { Tracking, Released };
void ScrollToThumb(EditorState& s, ThumbKind kind, std::int32_t position);

}  // namespace vop
