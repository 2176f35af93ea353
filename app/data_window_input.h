// What the data window does with keys, characters, the wheel, clicks, the
// scroll bar, the focus and its size. The Win32 window procedure only decodes
// messages and calls these.
#pragma once

#include <cstdint>

#include "entry_fields/field_keys.h"
#include "state/editor_state.h"

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
    bool alt = false;
    // Ctrl as a shortcut's key: AltGr comes as Ctrl and Alt (entry_fields/field_keys.h).
    bool shortcut() const { return HeldKeys{ctrl, alt}.shortcut(); }
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
void DataWindowChar(EditorState& s, std::uint8_t code, KeyModifiers mods);
// delta: the wheel's travel as the system gives it, 120 a notch, away from the user positive.
void DataWindowWheel(EditorState& s, int delta);
void DataWindowClick(EditorState& s, int x, int y);
void DataWindowDoubleClick(EditorState& s, int x, int y);
void DataWindowScroll(EditorState& s, int request, std::int32_t trackPosition);

// After a size change of the data window.
void DataWindowResized(EditorState& s);
// The shell has just made a new caret of DataCaretShape (hidden, as new
// carets are) on gaining the focus, or has destroyed it on losing the focus.
void DataCaretCreated(EditorState& s);
void DataCaretDestroyed(EditorState& s);

}  // namespace vop
