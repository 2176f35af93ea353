#include "support/fake_ui.h"

#include <algorithm>

#include "state/cell_metrics.h"

namespace vop::test {

void FakeUi::paint(const EditorState& s) {
    const ScreenGrid& g = s.grid;
    if (screen.size() != g.cells.size()) screen.assign(g.cells.size(), 0);
    const int cw = CellWidth(s.settings.FontCell), ch = CellHeight(s.settings.FontCell), inset = CellInset(s.settings.FontCell);
    // Every cell whose pixels meet a repainted rectangle shows what the grid holds now.
    for (const auto& [l, t, r, b] : dirty)
        for (int row = std::max(0, t / ch - 1); row < g.rows && row * ch < b; ++row)
            for (int c = std::max(0, (l - inset) / cw - 1); c < g.columns && inset + c * cw < r; ++c)
                if (inset + (c + 1) * cw > l && (row + 1) * ch > t) screen[std::size_t(row * g.columns + c)] = g.at(row, c);
    dirty.clear();
}

}  // namespace vop::test
