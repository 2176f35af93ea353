#pragma once

#include <windows.h>

namespace vop::shell {

bool RegisterDataWindowClass(HINSTANCE instance);

// Creates the data window's caret in the current shape and shows it when it should be seen.
void CreateDataCaret(HWND dataWindow);

}  // namespace vop::shell
