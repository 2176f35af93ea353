#include "view/data_render.h"

#include <algorithm>
#include <cstring>

#include "view/cell_metrics.h"

namespace vop {
namespace {

// Copies a w × h block of a strip to (dx, dy), cut at the surface's edges.
void CopyCell(const GlyphStrip& strip, int sx, int w, int h, PixelSurface& out, int dx, int dy) {
    if (dx >= out.width || dy >= out.height || dx + w <= 0 || dy + h <= 0) return;
    const int left = std::max(0, -dx), top = std::max(0, -dy);
    const int right = std::min(w, out.width - dx), bottom = std::min(h, out.height - dy);
    const std::size_t bytes = static_cast<std::size_t>(right - left) * sizeof(std::uint32_t);
    for (int y = top; y < bottom; ++y) {
        const std::uint32_t* src = strip.pixels.data() + static_cast<std::size_t>(y) * strip.width + sx + left;
        std::uint32_t* dst = out.pixels + static_cast<std::size_t>(dy + y) * out.stride + dx + left;
        std::memcpy(dst, src, bytes);
    }
}

void Fill(PixelSurface& out, std::uint32_t pixel) {
    for (int y = 0; y < out.height; ++y) std::fill_n(out.pixels + static_cast<std::size_t>(y) * out.stride, out.width, pixel);
}

void RenderHexView(const EditorState& s, PixelSurface& out) {
    const ScreenGrid& g = s.grid;
    const std::uint8_t fc = s.settings.FontCell;
    const int cw = CellWidth(fc), ch = CellHeight(fc), ins = CellInset(fc);
    const GlyphStrip& text = s.strips.text;
    const GlyphStrip& digit = s.strips.digit;
    const bool hex = s.settings.FontType != 0;
    const int visibleRows = std::min(g.rows, (out.height + ch - 1) / ch);
    for (int r = 0; r < visibleRows; ++r) {
        const int y = r * ch;
        for (int c = 0; c < g.columns; ++c) {
            const int x = ins + c * cw;
            if (x >= out.width) break;
            const std::uint8_t v = g.at(r, c);
            if (!hex) {
                CopyCell(text, v * cw, cw, ch, out, x, y);
                continue;
            }
            // Hex font type draws nothing from the first cell past the end of the file.
            if (r * g.columns + c >= g.filledCells) break;
            if (c < AddressCells) {
                CopyCell(text, v * cw, cw, ch, out, x, y);
            } else {
                CopyCell(digit, (v >> 4) * cw, cw, cw, out, x, y);
                CopyCell(digit, (v & 15) * cw, cw, cw, out, x, y + cw - ins);
            }
        }
    }
}

void RenderTextView(const EditorState& s, PixelSurface& out) {
    const LineIndex& index = s.lines;
    const std::uint8_t fc = s.settings.FontCell;
    const int cw = CellWidth(fc), ch = CellHeight(fc), ins = CellInset(fc);
    const int pitch = cw + ins;  // text cells stand further apart than hex cells
    const int cellsPerRow = 2 * s.grid.columns;
    for (int r = 0; r < s.grid.rows && index.TopLine + r < index.LineCount; ++r) {
        const int y = r * ch;
        if (y >= out.height) break;
        const LineRecord& line = index.Lines[static_cast<std::size_t>(index.TopLine + r)];
        const std::uint8_t* bytes = index.lineBytes(index.TopLine + r);
        if (!bytes || index.LeftColumn < 0) continue;
        int j = 0;
        for (std::uint32_t i = static_cast<std::uint32_t>(index.LeftColumn); i < line.Length && j < cellsPerRow; ++i) {
            const std::uint8_t v = bytes[i];
            if (v == 13) {
                ++j;  // a carriage return takes its cell and shows nothing
            } else if (v == 9) {
                for (int k = 0; k < 4; ++k) CopyCell(s.strips.text, 32 * cw, cw, ch, out, (j + k) * pitch, y);
                j += 4;
            } else {
                CopyCell(s.strips.text, v * cw, cw, ch, out, ins + j * pitch, y);
                ++j;
            }
            if (ins + j * pitch >= out.width) break;
        }
    }
}

}  // namespace

void RenderDataWindow(const EditorState& s, PixelSurface& out) {
    Fill(out, ColourToPixel(s.settings.BackgroundColor));
    if (!s.documentOpen() || s.strips.text.empty() || s.strips.digit.empty()) return;
    // Strips of another cell size would be read past their ends.
    if (s.strips.fontCell != s.settings.FontCell) return;
    if (s.TextViewOn)
        RenderTextView(s, out);
    else if (!s.grid.empty())
        RenderHexView(s, out);
}

}  // namespace vop
