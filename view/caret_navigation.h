// Every movement of the caret and of the view, in the hex view and the text view.
#pragma once

#include <cstdint>

#include "app/editor_state.h"

namespace vop {

std::uint32_t CaretAddress(const EditorState& s);
void PlaceCaret(EditorState& s);

void MoveRight(EditorState& s, bool erase);
void MoveLeft(EditorState& s, bool erase);
void MoveDown(EditorState& s, bool erase);
void MoveUp(EditorState& s, bool erase);
void MoveRowStart(EditorState& s);
void MoveRowEnd(EditorState& s);
bool PlaceCaretAtClick(EditorState& s, int x, int y);

void PageDown(EditorState& s, bool erase);
void PageUp(EditorState& s, bool erase);
void ScrollLineDown(EditorState& s, bool erase);
void ScrollLineUp(EditorState& s, bool erase);
void ScrollTextLeft(EditorState& s, std::int32_t count);
void ScrollTextRight(EditorState& s, std::int32_t count);

void Relayout(EditorState& s);
void SetupScrollBar(EditorState& s, bool withPosition);
void SyncScrollPosition(EditorState& s);
enum class ThumbKind { Tracking, Released };
void ScrollToThumb(EditorState& s, ThumbKind kind, std::int32_t position);
void ReturnToHexView(EditorState& s);

}  // namespace vop
