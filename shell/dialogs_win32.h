// The modal dialogs the core asks for: Modify, Goto Address, Find and Replace.
#pragma once

#include <windows.h>

#include "state/ui.h"

namespace vop::shell {

void RunDialog(DialogKind kind, HWND owner);

}  // namespace vop::shell
