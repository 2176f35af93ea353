// How the document's operations tell the user that something failed: a box
// with a fixed text, titled "Error", with an OK button.
#pragma once

#include <string>

#include "state/editor_state.h"

namespace vop {

inline void ShowError(EditorState& s, const std::string& text, BoxOwner owner = BoxOwner::MainWindow) {
    s.UI().messageBox(owner, text, "Error", BoxButtons::Ok);
}

}  // namespace vop
