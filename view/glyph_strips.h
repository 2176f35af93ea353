// The coloured glyph strips: every character glyph (and every hex digit) of
// the current FontCell side by side, already in the foreground and background
// colours, so that painting is a series of cell copies.
#pragma once

#include <cstdint>

#include "state/editor_state.h"

namespace vop {

void BuildGlyphStrips(GlyphStrips& strips, const GlyphTables& tables, std::uint8_t fontCell,
                      std::uint32_t foreground, std::uint32_t background);
void FreeGlyphStrips(GlyphStrips& strips);

// New colours: the strips of the current FontCell are made again in them.
void RebuildGlyphStrips(EditorState& s);

// A new cell size: the strips are rebuilt for it. The caller lays the view
// out again once the window has its new size.
void ChangeFontCell(EditorState& s, std::uint8_t fontCell);

}  // namespace vop
