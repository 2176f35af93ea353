// The program's start and end as far as the core is concerned: the settings
// and the six font files beside the program, and what is let go at the end.
#pragma once

#include <optional>
#include <string>

#include "state/editor_state.h"

namespace vop {

// Default colours, then the settings file and the font files from the
// program's folder (nothing when its path could not be read: then nothing is
// looked for anywhere else and the fonts count as missing). Each font set
// that cannot be loaded is reported. Returns whether the program can go on.
bool StartUp(EditorState& s, const std::optional<std::string>& programFolder);

// Lets the pages and the line index go, and writes the settings file when
// the program has a folder.
void ShutDown(EditorState& s, const std::optional<std::string>& programFolder);

}  // namespace vop
