#include "state/screen_grid.h"

namespace vop {

void ScreenGrid::init(std::int32_t newColumns, std::int32_t newRows) {
    columns = newColumns;
    rows = newRows;
    cells.assign(static_cast<std::size_t>(newColumns) * static_cast<std::size_t>(newRows), 0);
}

void ScreenGrid::clear() {
    cells.clear();
    cells.shrink_to_fit();
    columns = rows = filledCells = caretColumn = caretRow = 0;
}

}  // namespace vop
