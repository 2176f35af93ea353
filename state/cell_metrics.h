// Glyph cell sizes by FontCell. Any FontCell other than 0 and 1 is treated as
// 32-pixel cells, but settings are clamped on load so only 0..2 occur.
#pragma once

#include <cstdint>

namespace vop {

inline int CellWidth(std::uint8_t fontCell) { return fontCell == 0 ? 8 : (fontCell == 1 ? 16 : 32); }
inline int CellHeight(std::uint8_t fontCell) { return 2 * CellWidth(fontCell); }
inline int CellInset(std::uint8_t fontCell) { return fontCell == 0 ? 1 : (fontCell == 1 ? 2 : 4); }

}  // namespace vop
