// What the Find and Replace dialogs do once their fields are read. The shell
// creates the dialogs and fields, hides a dialog before its search runs, and
// ends it afterwards; every rule is here. Boxes are owned by the dialog.
#pragma once

#include <cstdint>

#include "state/editor_state.h"

namespace vop {

// The Find dialog opens: the remembered pattern is forgotten, so that F3
// opens the dialog again should it be cancelled.
void FindDialogOpened(EditorState& s);

// Find's OK: remembers the pattern, leaves the text view, searches from the
// caret and reports a miss.
void RunFind(EditorState& s, const std::uint8_t* pattern, std::int32_t length);

// Replace's OK, before anything else: false when the dialog must stay open
// (the lengths differ, which is reported, or both sequences are empty).
// Remembers the length for the blinking.
bool ReplaceMayStart(EditorState& s, std::int32_t searchLength, std::int32_t replacementLength);

// The runs behind Replace's OK, both over `length` bytes (ReplaceMayStart
// said yes). One by one asks about each occurrence while it blinks; all
// replaces every occurrence from the caret on and reports the count.
void ReplaceOneByOne(EditorState& s, const std::uint8_t* search, const std::uint8_t* replacement,
                     std::int32_t length);
void ReplaceAll(EditorState& s, const std::uint8_t* search, const std::uint8_t* replacement, std::int32_t length);

}  // namespace vop
