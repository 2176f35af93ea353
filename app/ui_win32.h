// The real window system behind the core's Ui interface.
#pragma once

#include "app/ui.h"

namespace vop::shell {

Ui& Win32Ui();

}  // namespace vop::shell
