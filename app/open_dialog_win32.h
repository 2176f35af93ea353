#pragma once

#include <windows.h>

namespace vop::shell {

// File/Open: the platform's open-file dialog; a picked file is opened at page 0.
void ShowOpenDialog(HWND owner);

}  // namespace vop::shell
