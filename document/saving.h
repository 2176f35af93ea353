// The modified flag's consumers: writing the held pages back, reverting them,
// and the questions asked before changes would be lost.
#pragma once

#include "app/editor_state.h"

namespace vop {

// Writes CurrentPage then NextPage at their offsets. Returns true when both
// were written whole; on failure reports it and leaves Modified as it was.
bool SaveDocument(EditorState& s);

// Asked before the page window shifts. Returns true when the window may move
// (nothing modified, saved, or the user dropped the changes); false when the
// user chose to save and the save failed, so the unsaved pages must stay held.
bool PromptSavePage(EditorState& s, BoxOwner owner = BoxOwner::MainWindow);

// Reads the current and next pages back from the file over the held bytes.
void RevertPages(EditorState& s);

// Asked before the document leaves (Open, Close, Exit, drop). Returns -1 when
// the command must stop (Cancel, or Yes with a failed save), else 0.
int PromptSaveFile(EditorState& s);

// After opening: warns when the file cannot be opened for writing.
void CheckWritable(EditorState& s);

}  // namespace vop
