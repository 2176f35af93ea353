// The Modify and Goto Address dialogs, run modally.
#pragma once

#include <windows.h>

namespace vop::shell {

// Overwrites the caret byte. Open only while a document is open.
INT_PTR RunModifyByteDialog(HWND owner);
// Jumps to a typed address.
INT_PTR RunGotoAddressDialog(HWND owner);

}  // namespace vop::shell
