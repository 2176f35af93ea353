#include "app/status_bar_win32.h"

#include <commctrl.h>

namespace vop::shell {

HWND CreateStatusBar(HWND mainWindow) { return CreateStatusWindowA(WS_CHILD | WS_VISIBLE, "", mainWindow, 0); }

}  // namespace vop::shell
