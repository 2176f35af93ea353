#include "app/window_sizing.h"

#include <algorithm>
#include <initializer_list>

#include "state/cell_metrics.h"

namespace vop {
namespace {

// Bytes per row that fit in the available width, or 0 when not even 16 do.
int FittingBytesPerRow(int available, int cw) {
    for (int n : {256, 128, 64, 32, 16})
        if (available >= n * cw) return n;
    return 0;
}

int AvailableWidth(const WindowMetrics& m, std::uint8_t fontCell) {
    return m.workWidth - 2 * (5 * CellWidth(fontCell) + m.frame + CellInset(fontCell)) - m.vscroll;
}

}  // namespace

OptimalPlacement OptimalSize(const WindowMetrics& m, std::uint8_t fontCell, SizingVariant variant) {
    OptimalPlacement p;
    int n = FittingBytesPerRow(AvailableWidth(m, fontCell), CellWidth(fontCell));
    if (n == 0) {
        if (variant == SizingVariant::Menu) {
            if (fontCell == 0) {
                p.fontCell = 0;  // nothing smaller to try: the window keeps its size and place
                return p;
            }
            return OptimalSize(m, static_cast<std::uint8_t>(fontCell - 1), variant);
        }
        if (fontCell != 0) {
            fontCell = 0;
            n = FittingBytesPerRow(AvailableWidth(m, fontCell), CellWidth(fontCell));
        }
    }
    const int cw = CellWidth(fontCell);
    const int ins = CellInset(fontCell);
    const int dataWidth = n != 0 ? n * cw : AvailableWidth(m, fontCell);
    const int width = dataWidth + m.vscroll + 2 * (5 * cw + ins + m.frame);
    int firstHeight = static_cast<int>(static_cast<double>(width) * 0.7);
    if (firstHeight > m.workHeight) firstHeight = m.workHeight;
    const int dataHeight = firstHeight - 2 * m.frame - m.statusBar - m.caption - m.menu;
    const int height = firstHeight - dataHeight % (2 * cw);  // a whole number of text rows

    p.resize = true;
    p.fontCell = fontCell;
    p.width = width;
    p.height = height;
    // A window larger than the work area keeps its caption and left edge on it.
    p.x = m.workLeft + std::max(0, (m.workWidth - width) / 2);
    p.y = m.workTop + std::max(0, (m.workHeight - height) / 2);
    return p;
}

TrackSize MinimumTrackSize(const WindowMetrics& m, std::uint8_t fontCell) {
    const int cw = CellWidth(fontCell);
    return {m.vscroll + 2 * (13 * cw + CellInset(fontCell) + m.frame),
            m.caption + m.menu + m.statusBar + 2 * (m.frame + cw)};
}

}  // namespace vop
