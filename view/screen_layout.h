// How much of the file fits in the data window, and what every cell shows.
#pragma once

#include <cstdint>

#include "state/editor_state.h"

namespace vop {

// Pure layout arithmetic on a client size.
std::int32_t BytesPerRowFor(int clientWidth, std::uint8_t fontCell);
std::int32_t ScreenRowsFor(int clientHeight, std::uint8_t fontCell);

// The same, reading the data window's client size now.
std::int32_t BytesPerRow(EditorState& s);
std::int32_t ScreenRows(EditorState& s);

// Rewrites every grid cell and filledCells from the held pages.
void FillScreenGrid(EditorState& s);

// Repaint and inversion requests for single cells.
void InvalidateCaretCell(EditorState& s);
void InvertCell(EditorState& s, int x, int y);
void InvertCells(EditorState& s, int x, int y, int count);

}  // namespace vop
