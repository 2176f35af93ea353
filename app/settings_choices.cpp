#include "app/settings_choices.h"

#include "app/data_window_input.h"
#include "app/operation.h"
#include "view/glyph_strips.h"

namespace vop {

ColourBytes BytesOfColour(std::uint32_t colour) {
    return {static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(colour >> 8),
            static_cast<std::uint8_t>(colour >> 16)};
}

std::uint32_t ColourOfBytes(const ColourBytes& rgb) {
    return std::uint32_t{rgb[0]} | std::uint32_t{rgb[1]} << 8 | std::uint32_t{rgb[2]} << 16;
}

bool ChooseColours(EditorState& s, const ColourBytes& foreground, const ColourBytes& background) {
    std::uint32_t ink = ColourOfBytes(foreground);
    const std::uint32_t paper = ColourOfBytes(background);
    if (ink == s.settings.ForegroundColor && paper == s.settings.BackgroundColor) return false;
    if (ink == paper) ink = 0xFFFFFFu - paper;  // every channel inverted
    s.settings.ForegroundColor = ink;
    s.settings.BackgroundColor = paper;
    RebuildGlyphStrips(s);
    s.UI().invalidateData();
    return true;
}

FontChoice CurrentFontChoice(const Settings& settings) {
    FontChoice c;
    c.fontCell = settings.FontCell <= 1 ? settings.FontCell : 2;
    c.fontType = settings.FontType != 0 ? 1 : 0;
    c.blockCaret = settings.BlockCaret == 1 ? 1 : 0;
    return c;
}

OptimalPlacement ChooseFont(EditorState& s, const FontChoice& choice, bool maximised, const WindowMetrics& metrics) {
    s.settings.FontType = choice.fontType;
    s.settings.BlockCaret = choice.blockCaret;
    OptimalPlacement placement;
    if (!maximised) placement = OptimalSize(metrics, choice.fontCell, SizingVariant::Menu);
    // The strips are built once, for the cell size the screen can take.
    ChangeFontCell(s, maximised ? choice.fontCell : placement.fontCell);
    // A window that keeps its size gets no size change to lay it out again.
    if (maximised || !placement.resize) DataWindowResized(s);
    s.UI().invalidateData();
    return placement;
}

OptimalPlacement TakeOptimalSize(EditorState& s, const WindowMetrics& metrics, SizingVariant variant) {
    const Operation operation(s);
    if (operation.refused()) return {};
    const OptimalPlacement placement = OptimalSize(metrics, s.settings.FontCell, variant);
    ChangeFontCell(s, placement.fontCell);
    return placement;
}

}  // namespace vop
