// The sub-pixel shift of one row or column that makes the About picture ripple.
#pragma once

#include <vector>

#include "about/picture.h"

namespace vop {

enum ShiftDirection : int { ShiftLeft = 0, ShiftRight = 1, ShiftUp = 2, ShiftDown = 3 };

// Mixes k colours by weight, each colour channel weighted by its opacity.
ColourValue BlendPixels(const ColourValue* colours, const double* weights, int k);

// Moves row or column `line` by `amount` pixels (negative: the other way),
// vacated pixels becoming FillValue. A nonzero amount first converts the
// picture to 32 bits. A line outside the picture, a picture without pixels,
// an unknown direction or an amount that is not a number change nothing.
void ShiftLine(Picture& picture, int direction, int line, double amount);
// The same, keeping the line's copy in `scratch`: a caller that shifts many
// lines in a row allocates it once.
void ShiftLine(Picture& picture, int direction, int line, double amount, std::vector<ColourValue>& scratch);

}  // namespace vop
