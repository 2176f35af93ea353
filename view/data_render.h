// Turns the screen grid (hex view) or the line index (text view) into pixels
// by copying glyph cells out of the glyph strips. The result is what erasing
// the background and painting every cell gives, drawn into memory so that the
// window receives one copy per paint.
#pragma once

#include <cstdint>

#include "state/editor_state.h"

namespace vop {

struct PixelSurface {
    std::uint32_t* pixels = nullptr;  // 0x00RRGGBB, top-down
    int width = 0;
    int height = 0;
    int stride = 0;  // pixels per row
    int top = 0;     // the window line the surface's first line shows (a band of a larger window)
};

void RenderDataWindow(const EditorState& s, PixelSurface& surface);

// True when the window shows nothing but its background colour (no document
// yet, or nothing to draw it with): the shell can fill it in one call,
// without rendering pixels into memory, which keeps the first paint at
// start-up cheap.
bool ShowsOnlyPaper(const EditorState& s);

}  // namespace vop
