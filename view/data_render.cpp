#include "view/data_render.h"

#include <algorithm>
#include <cstring>

#include "document/line_index.h"
#include "state/cell_metrics.h"

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

// Copies one cell row; the cell widths that occur get a fixed-size copy the
// compiler turns into a few moves instead of a library call.
inline void CopyPixels(std::uint32_t* dst, const std::uint32_t* src, int count) {
    switch (count) {
        case 8: std::memcpy(dst, src, 8 * sizeof(std::uint32_t)); return;
        case 16: std::memcpy(dst, src, 16 * sizeof(std::uint32_t)); return;
        case 32: std::memcpy(dst, src, 32 * sizeof(std::uint32_t)); return;
        default: std::memcpy(dst, src, static_cast<std::size_t>(count) * sizeof(std::uint32_t));
    }
}

// Draws the hex view one pixel line at a time, writing every pixel of the
// surface once: a full screen is the most common paint, and erasing it first
// and then covering most of it with cells would write it twice.
// The picture is the erased background with every cell copied over it: a
// byte cell's high digit on top, its low digit raised by the inset so that it
// covers the high digit's last rows, and background below.
void RenderHexView(const EditorState& s, PixelSurface& out, std::uint32_t paper) {
    const ScreenGrid& g = s.grid;
    const std::uint8_t fc = s.settings.FontCell;
    const int cw = CellWidth(fc), ch = CellHeight(fc), ins = CellInset(fc);
    const GlyphStrip& text = s.strips.text;
    const GlyphStrip& digit = s.strips.digit;
    const bool hex = s.settings.FontType != 0;
    const int lowTop = cw - ins;  // first line of the low digit within a cell
    const int inset = std::min(ins, out.width);
    for (int y = 0; y < out.height; ++y) {
        std::uint32_t* line = out.pixels + static_cast<std::size_t>(y) * out.stride;
        const int r = (y + out.top) / ch, dy = (y + out.top) % ch;
        int drawn = 0;  // pixels of this line already written
        if (r < g.rows) {
            std::fill_n(line, inset, paper);
            drawn = inset;
            // Hex font type draws nothing from the first cell past the end of the file.
            const int cells = hex ? std::max(0, std::min(g.columns, g.filledCells - r * g.columns)) : g.columns;
            const std::uint32_t* textLine = text.pixels.data() + static_cast<std::size_t>(dy) * text.width;
            const std::uint32_t* digitLine = nullptr;
            int shift = 0;
            if (dy < lowTop) {
                digitLine = digit.pixels.data() + static_cast<std::size_t>(dy) * digit.width;
                shift = 4;
            } else if (dy < lowTop + cw) {
                digitLine = digit.pixels.data() + static_cast<std::size_t>(dy - lowTop) * digit.width;
            }
            const std::uint8_t* values = g.cells.data() + static_cast<std::size_t>(r) * g.columns;
            for (int c = 0; c < cells; ++c) {
                const int x = ins + c * cw;
                if (x >= out.width) break;
                const int w = std::min(cw, out.width - x);
                const std::uint8_t v = values[c];
                if (!hex || c < AddressCells)
                    CopyPixels(line + x, textLine + v * cw, w);
                else if (digitLine)
                    CopyPixels(line + x, digitLine + ((v >> shift) & 15) * cw, w);
                else
                    std::fill_n(line + x, w, paper);
                drawn = x + w;
            }
        }
        std::fill_n(line + drawn, out.width - drawn, paper);
    }
}

void RenderTextView(const EditorState& s, PixelSurface& out) {
    const LineIndex& index = s.lines;
    const std::uint8_t fc = s.settings.FontCell;
    const int cw = CellWidth(fc), ch = CellHeight(fc), ins = CellInset(fc);
    const int pitch = cw + ins;  // text cells stand further apart than hex cells
    const int cellsPerRow = 2 * s.grid.columns;
    for (int r = 0; r < s.grid.rows && index.TopLine + r < index.LineCount; ++r) {
        const int y = r * ch - out.top;
        if (y >= out.height) break;
        if (y + ch <= 0) continue;
        const LineRecord line = IndexedLine(index, index.TopLine + r);
        const std::uint8_t* bytes = index.Store.data() + line.Start;
        if (line.Length == 0 || index.LeftColumn < 0) continue;
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

// Strips of another cell size would be read past their ends.
bool Drawable(const EditorState& s) {
    return s.documentOpen() && !s.strips.text.empty() && !s.strips.digit.empty() &&
           s.strips.fontCell == s.settings.FontCell;
}

}  // namespace

bool ShowsOnlyPaper(const EditorState& s) { return !Drawable(s) || (!s.TextViewOn && s.grid.empty()); }

void RenderDataWindow(const EditorState& s, PixelSurface& out) {
    const std::uint32_t paper = ColourToPixel(s.settings.BackgroundColor);
    if (ShowsOnlyPaper(s)) return Fill(out, paper);
    if (s.TextViewOn) {
        Fill(out, paper);
        return RenderTextView(s, out);
    }
    RenderHexView(s, out, paper);  // writes the background itself
}

}  // namespace vop
