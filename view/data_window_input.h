// What the data window does with keys, characters, the wheel, clicks and the
// scroll bar. The Win32 window procedure only decodes messages and calls these.
#pragma once

#include <cstdint>

#include "app/editor_state.h"

namespace vop {

// Virtual-key codes the data window understands (the Win32 values).
namespace Key {
constexpr int Enter = 13, PageUp = 33, PageDown = 34, End = 35, Home = 36, Left = 37, Up = 38,
              Right = 39, Down = 40, Digit0 = 48, Numpad0 = 96, L = 76, F3 = 114, F4 = 115,
              F5 = 116, F7 = 118;
}

struct KeyModifiers {
    bool ctrl = false;
    bool shift = false;
    bool scrollLock = false;  // toggled on
};

// Scroll bar requests (the Win32 SB_ values).
namespace ScrollRequest {
constexpr int LineUp = 0, LineDown = 1, PageUp = 2, PageDown = 3, ThumbPosition = 4, ThumbTrack = 5;
}

struct CaretShape {
    int width = 0;
    int height = 0;
};
CaretShape DataCaretShape(const Settings& settings);

void DataWindowKeyDown(EditorState& s, int virtualKey, KeyModifiers mods);
void DataWindowChar(EditorState& s, std::uint8_t code, bool ctrlHeld);
void DataWindowWheel(EditorState& s, int delta);
void DataWindowClick(EditorState& s, int x, int y);
void DataWindowDoubleClick(EditorState& s, int x, int y);
void DataWindowScroll(EditorState& s, int request, std::int32_t trackPosition);
// Overwrites the byte under the caret: the caret page's block and the grid
// cell, repaints that one cell and sets Modified. Nothing moves.
void WriteByteUnderCaret(EditorState& s, std::uint8_t value);

// Back from the text view to the hex view at the first byte of the text
// view's top line (F4, F3 and the Find dialog).
void LeaveTextView(EditorState& s);

// After a size change of the data window (the shell then re-creates the caret).
void DataWindowResized(EditorState& s);
// Whether the caret should be visible now (file open, hex view).
bool DataCaretVisible(const EditorState& s);

}  // namespace vop
