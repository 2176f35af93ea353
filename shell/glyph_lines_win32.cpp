#include "shell/glyph_lines_win32.h"

#include "shell/shell_win32.h"
#include "view/glyph_lines.h"

namespace vop::shell {

void DrawGlyphLines(HDC dc, int x, int y, std::uint8_t code, std::uint8_t fontCell) {
    for (const GlyphStroke& stroke : GlyphLineStrokes(Editor().glyphs, x, y, code, fontCell)) {
        MoveToEx(dc, stroke.x0, stroke.y0, nullptr);
        LineTo(dc, stroke.x1, stroke.y1);
    }
}

}  // namespace vop::shell
