// What the main window's menu commands, dropped files and the command line
// do. The shell decodes the messages; every rule is here.
#pragma once

#include <string>

#include "state/editor_state.h"

namespace vop {

// A command id of "MainMenu" (resources/resource_ids.h); others do nothing.
void RunMenuCommand(EditorState& s, int command);

// A file named on the command line (already made a full path): opened at
// page 0, with the read-only warning; nothing is asked first.
void OpenNamedFile(EditorState& s, const std::string& path);

// A file dropped on the window: unsaved changes are settled first.
void OpenDroppedFile(EditorState& s, const std::string& path);

// The close box and the window's close request, from the system or another
// program: the save question, then the end. One that arrives while an
// operation is in progress waits for it to end (app/operation.h).
void RequestExit(EditorState& s);

}  // namespace vop
