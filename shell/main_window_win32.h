#pragma once

#include <windows.h>

#include "app/window_sizing.h"

namespace vop::shell {

// The screen and frame sizes the window's size rules work with, read now.
WindowMetrics CurrentMetrics();

bool RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);

}  // namespace vop::shell
