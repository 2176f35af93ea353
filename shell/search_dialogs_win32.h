// The Find and Replace dialogs: pairs of pattern rows (characters above hex)
// made at run time; OK reads the character rows and hands them to the core.
#pragma once

#include "shell/field_dialog_win32.h"

namespace vop::shell {

FieldDialog FindDialog();
FieldDialog ReplaceDialog();

}  // namespace vop::shell
