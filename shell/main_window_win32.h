#pragma once

#include <windows.h>

#include "app/window_sizing.h"

namespace vop::shell {

// The screen and frame sizes the window's size rules work with, read now.
WindowMetrics CurrentMetrics();

bool RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);

// The command line, as wide text: one path, maybe in double quotes, opened
// at once. (A message to the window would carry a pointer, which any other
// program could send too.)
void OpenCommandLine(const wchar_t* commandLine);

}  // namespace vop::shell
