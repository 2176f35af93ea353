// The text of the visible hex-view screen: an address column of ten cells,
// then one cell per byte of each row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vop {

constexpr int AddressCells = 10;

struct ScreenGrid {
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    std::int32_t filledCells = 0;
    std::int32_t caretColumn = 0;
    std::int32_t caretRow = 0;
    std::vector<std::uint8_t> cells;  // rows × columns, row-major

    void init(std::int32_t newColumns, std::int32_t newRows);
    void clear();
    bool empty() const { return cells.empty(); }
    std::uint8_t& at(std::int32_t row, std::int32_t column) { return cells[index(row, column)]; }
    std::uint8_t at(std::int32_t row, std::int32_t column) const { return cells[index(row, column)]; }

private:
    std::size_t index(std::int32_t row, std::int32_t column) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(column);
    }
};

}  // namespace vop
