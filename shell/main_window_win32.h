#pragma once

#include <windows.h>

namespace vop::shell {

bool RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);

}  // namespace vop::shell
