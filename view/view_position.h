// Building blocks shared by the caret moves and the scrolls: the caret's cell,
// the refresh after the view moved, and page shifts that can be undone.
#pragma once

#include <cstdint>

#include "state/editor_state.h"

namespace vop {

// The view position as it was before a move, so that a move whose page shift
// fails (the file vanished, or a save the user asked for did not succeed)
// can put everything back.
struct ViewSnapshot {
    PageSlot caretPage = PageSlot::None;
    std::int32_t topOffset = 0;
    std::int32_t caretOffset = 0;
    std::int32_t caretRow = 0;
    std::int32_t caretColumn = 0;
};

ViewSnapshot SnapshotView(const EditorState& s);
void RestoreView(EditorState& s, const ViewSnapshot& snapshot);

// Sets caretRow and caretColumn and the pixel origin that follows from them.
void SetCaretCell(EditorState& s, std::int32_t row, std::int32_t column);

// Refills the grid and asks for a repaint of the whole data window.
void RefreshView(EditorState& s);

enum class Shift { Forward, Back };
// Shifts the page window for a move that has already changed the view; the
// argument is LoadNextPage's new top or LoadPreviousPage's distance. When the
// window cannot move, the view goes back to `before` and the screen is
// refreshed, and the result is false.
bool ShiftOrRestore(EditorState& s, Shift direction, std::int32_t argument, const ViewSnapshot& before);

// The caret's byte counted from the start of the current page.
std::int64_t CaretFromCurrentStart(const EditorState& s);

// Puts the caret on the byte `fromCurrentStart` bytes after the start of the
// current page (current or next page), and its cell relative to TopOffset.
void SetCaretByte(EditorState& s, std::int64_t fromCurrentStart, std::int32_t bytesPerRow);

// When the caret is past the last byte held (a short last page), moves it to
// that last byte, keeping the screen where it is.
void KeepCaretOnFile(EditorState& s, std::int32_t bytesPerRow);

// Number of rows the whole file takes at n bytes per row.
std::uint32_t TotalRows(std::uint32_t fileSize, std::int32_t bytesPerRow);

}  // namespace vop
