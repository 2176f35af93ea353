// The About box: one template, shown by one of two procedures chosen at
// random per command. The still picture closes under a curtain; the rippling
// one fades or slides away on older systems and ends at once on newer ones.
#pragma once

#include <windows.h>

namespace vop::shell {

void RunAboutDialog(HWND owner);

}  // namespace vop::shell
