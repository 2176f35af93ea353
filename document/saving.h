// The modified flag's consumers: writing the held pages back, reverting them,
// and the questions asked before changes would be lost.
#pragma once

#include "state/editor_state.h"

namespace vop {

// Writes CurrentPage then NextPage at their offsets, each only when it holds
// changes, and clears Modified. Returns true when they were written whole; on
// failure reports it and leaves Modified and the pages' marks as they were.
bool SaveDocument(EditorState& s);

// Writes CurrentPage alone, when it holds changes: a replace-all run that
// moves on by one page writes the page it leaves behind, and keeps the next
// page's changes held until that page is left in turn, so each page is
// written once. Modified then says whether the next page holds changes.
// Failures as SaveDocument.
bool SaveCurrentPage(EditorState& s);

// Asked before the window leaves pages with changes: a shift, or a jump to
// another page (owned by the dialog or window that asked for it). Returns
// true when the window may move: nothing modified, saved, or the changes
// dropped and the held pages read back from the file. False when a save the
// user asked for failed, or the file could not be read back: the changed
// pages must then stay held, still marked modified. During a replace-all run
// the first Yes saves every later page without asking.
bool PromptSavePage(EditorState& s, BoxOwner owner = BoxOwner::MainWindow);

// Reads the current and next pages back from the file over the held bytes
// and rebuilds the text view's index. False (reported) when the file cannot
// be opened, or no longer holds the pages whole: the held bytes then stay
// exactly as they were.
bool RevertPages(EditorState& s);

// Asked before the document leaves (Open, Close, Exit, drop). Returns -1 when
// the command must stop (Cancel, or Yes with a failed save), else 0. After No
// the held pages equal the file again, whatever becomes of the command; when
// the file cannot be read back they keep the changes, still marked modified,
// so nothing ever saves them unasked.
int PromptSaveFile(EditorState& s);

// After opening: warns when the file cannot be opened for writing.
void CheckWritable(EditorState& s);

}  // namespace vop
