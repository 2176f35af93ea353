// The modal dialogs the core asks for: Modify, Goto Address, Find, Replace,
// the Options and Help dialogs and the About box.
#pragma once

#include <windows.h>

#include "state/ui.h"

namespace vop::shell {

void RunDialog(DialogKind kind, HWND owner);

}  // namespace vop::shell
