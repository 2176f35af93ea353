// Fades a window out over what lies under it, blocking: 256 steps of a
// given time each. Used by the About box on older systems.
#pragma once

#include <windows.h>

namespace vop::shell {

void FadeOutWindow(HWND window, DWORD stepMilliseconds);

}  // namespace vop::shell
