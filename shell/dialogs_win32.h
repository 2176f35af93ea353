// The modal dialogs the core asks for: Modify and Goto Address today.
#pragma once

#include <windows.h>

#include "state/ui.h"

namespace vop::shell {

void RunDialog(DialogKind kind, HWND owner);

}  // namespace vop::shell
