// Draws a character from the 8 × 16 glyph table with the device context's
// current pen, enlarged to a FontCell's cell size.
#pragma once

#include <windows.h>

#include <cstdint>

namespace vop::shell {

void DrawGlyphLines(HDC dc, int x, int y, std::uint8_t code, std::uint8_t fontCell);

}  // namespace vop::shell
