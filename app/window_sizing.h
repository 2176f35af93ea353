// The main window's size rules as plain arithmetic on work area and frame metrics.
#pragma once

#include <cstdint>

namespace vop {

// The work area is the monitor's room for windows: the screen less the
// taskbar and any docked bars. On a second monitor, or below a bar at the
// top, its corner is not the origin.
struct WindowMetrics {
    int workWidth = 0;     // W
    int workHeight = 0;    // H
    int frame = 0;         // F: sizing border, both directions
    int vscroll = 0;       // V: vertical scroll bar width
    int caption = 0;       // T
    int menu = 0;          // M
    int statusBar = 0;     // S: the status bar's current height
    int workLeft = 0;      // the work area's top-left corner on the virtual screen
    int workTop = 0;
};

enum class SizingVariant {
    StartUp,  // falls back straight to the Normal size when nothing fits
    Menu,     // "Optimal Size" and the Font dialog: one size smaller per try
};

struct OptimalPlacement {
    bool resize = false;          // false: the window keeps its size and place
    std::uint8_t fontCell = 0;    // the FontCell the placement was made for
    int x = 0, y = 0, width = 0, height = 0;
};

// The whole window, status bar included, is placed inside the work area,
// centred in it.
OptimalPlacement OptimalSize(const WindowMetrics& m, std::uint8_t fontCell, SizingVariant variant);

struct TrackSize {
    int width = 0;
    int height = 0;
};

// Room for 16 bytes per row plus the address column, and for one text row.
TrackSize MinimumTrackSize(const WindowMetrics& m, std::uint8_t fontCell);

}  // namespace vop
