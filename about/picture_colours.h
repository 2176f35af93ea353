// Conversions between the picture's depths, the colour inversion and the
// pixel query. Each leaves the picture unchanged when memory runs out.
#pragma once

#include "about/picture.h"

namespace vop {

constexpr int InvertColours = 5;  // the one AdjustColors operation the program uses

// A 1- or 8-bit picture without a palette gets one made from colour c:
// 1 bit, the inverse of c and c; 8 bits, a ramp from the inverse of c to c.
void DefaultPalette(Picture& picture, ColourValue c);
// 1 bit to 8 bits: indices 0/1 with the palette kept, 0/255 without one.
void ExpandMonochrome(Picture& picture);
// 8 bits to 32: every index replaced by its palette entry (the default
// palette of c when there is none); the palette is released.
void ToTrueColor(Picture& picture, ColourValue c);
// 24 bits to 32, every pixel opaque.
void RgbToTrueColor(Picture& picture);
// Any depth to 32 bits, through the conversions above (the default palette
// of colour 0 where there is none).
void ToThirtyTwoBits(Picture& picture);
// Operation InvertColours: red, green and blue become 255 − value; the
// transparency never changes. Other operations do nothing.
void AdjustColors(Picture& picture, int operation);
// One pixel as a colour value; x and y are clamped into the picture.
ColourValue PixelAt(const Picture& picture, int x, int y);

}  // namespace vop
