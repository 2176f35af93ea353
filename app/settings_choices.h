// What the Colors and Font dialogs do with the user's choice. A colour is
// edited as three bytes red, green, blue (the field shows RRGGBB) and kept as
// red + green·256 + blue·65536.
#pragma once

#include <array>
#include <cstdint>

#include "app/window_sizing.h"
#include "state/editor_state.h"

namespace vop {

using ColourBytes = std::array<std::uint8_t, 3>;  // red, green, blue

ColourBytes BytesOfColour(std::uint32_t colour);
std::uint32_t ColourOfBytes(const ColourBytes& rgb);

// Set Colors' OK. Nothing happens when both colours are as they were;
// otherwise both are kept (a foreground equal to the background becomes its
// inverse, so that the bytes stay readable), the glyph strips are made again
// in them and the data window is repainted. True when anything changed.
bool ChooseColours(EditorState& s, const ColourBytes& foreground, const ColourBytes& background);

// The Font dialog's buttons: the size (0 Normal, 1 Double, 2 Quad), Ascii or
// Hex, and the caret shape.
struct FontChoice {
    std::uint8_t fontCell = 0;
    std::uint8_t fontType = 0;
    std::uint8_t blockCaret = 0;
};

// The buttons checked when the dialog opens.
FontChoice CurrentFontChoice(const Settings& settings);

// Font's OK: the settings take the choice and the strips follow a new size.
// A maximised window keeps its size, so the view is laid out again at once
// and no placement comes back; otherwise the optimal size for the new cell
// size comes back for the shell to apply (it may have lowered the cell size
// again when the screen is too narrow). Either way the data window is
// repainted. The caret takes its new shape when the data window next gets
// the focus.
OptimalPlacement ChooseFont(EditorState& s, const FontChoice& choice, bool maximised, const WindowMetrics& metrics);

// The start, and the system menu's "Optimal Size": the optimal size for the
// current cell size (which may come down a size when the screen is too
// narrow), the cell size taken at once and the placement returned for the
// shell to apply. Nothing while another operation is in progress.
OptimalPlacement TakeOptimalSize(EditorState& s, const WindowMetrics& metrics, SizingVariant variant);

}  // namespace vop
