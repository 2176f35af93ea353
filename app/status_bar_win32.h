#pragma once

#include <windows.h>

namespace vop::shell {

// A new status bar along the bottom of the main window, one empty part.
HWND CreateStatusBar(HWND mainWindow);

}  // namespace vop::shell
