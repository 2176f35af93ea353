// The About picture as a device bitmap for the screen.
#pragma once

#include <windows.h>

#include "about/picture.h"

namespace vop::shell {

// Transparent pixels are blended over `background`. The caller deletes the
// bitmap; null when the picture is empty or the bitmap cannot be made.
HBITMAP PictureToBitmap(const Picture& picture, COLORREF background);

}  // namespace vop::shell
