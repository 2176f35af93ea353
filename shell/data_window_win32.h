#pragma once

#include <windows.h>

namespace vop::shell {

bool RegisterDataWindowClass(HINSTANCE instance);

}  // namespace vop::shell
