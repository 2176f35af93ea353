// The Options and Help dialogs: Set Colors (two of the program's hex entry
// fields), Font and Keys.
#pragma once

#include <windows.h>

#include "shell/field_dialog_win32.h"

namespace vop::shell {

FieldDialog ColorsDialog();
void RunFontDialog(HWND owner);
void RunKeysDialog(HWND owner);

}  // namespace vop::shell
