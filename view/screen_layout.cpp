#include "view/screen_layout.h"

#include <algorithm>
#include <cstring>

#include "state/cell_metrics.h"

namespace vop {

std::int32_t BytesPerRowFor(int clientWidth, std::uint8_t fontCell) {
    const int cw = CellWidth(fontCell);
    const int available = clientWidth - (AddressCells * cw + 2 * CellInset(fontCell));
    for (std::int32_t n = 256; n >= 16; n /= 2) {
        if (n * cw <= available) return n;
    }
    // Too narrow for any row: rows are cut off on the right.
    return 16;
}

std::int32_t ScreenRowsFor(int clientHeight, std::uint8_t fontCell) {
    const int ch = CellHeight(fontCell);
    if (clientHeight < ch) return 1;
    return clientHeight / ch;
}

std::int32_t BytesPerRow(EditorState& s) {
    return BytesPerRowFor(s.UI().dataClientSize().width, s.settings.FontCell);
}

std::int32_t ScreenRows(EditorState& s) {
    const ClientSize size = s.UI().dataClientSize();
    const std::int32_t rows = ScreenRowsFor(size.height, s.settings.FontCell);
    // The screen runs from the current page into the next one but must end
    // before the next page's last row, or a caret there could not move on
    // (the page after next is not held). So a screen holds less than a page
    // of bytes; only a window over 4000 pixels tall at 256 bytes per row
    // meets this limit.
    const std::int32_t n = BytesPerRowFor(size.width, s.settings.FontCell);
    return std::min(rows, static_cast<std::int32_t>(PageSize) / n - 1);
}

namespace {

void WriteRowAddress(ScreenGrid& grid, std::int32_t row, std::uint32_t address) {
    static constexpr char digits[] = "0123456789ABCDEF";
    for (int i = 0; i < 8; ++i) {
        grid.at(row, i) = static_cast<std::uint8_t>(digits[(address >> (28 - 4 * i)) & 0xF]);
    }
    grid.at(row, 8) = ':';
    grid.at(row, 9) = ' ';
}

}  // namespace

void FillScreenGrid(EditorState& s) {
    if (!s.documentOpen()) return;
    ScreenGrid& grid = s.grid;
    if (grid.empty()) return;
    // The grid's own width decides the row length, so a fill that comes
    // between a size change and the relayout after it never writes past a row.
    const std::int32_t n = grid.columns - AddressCells;
    if (n <= 0) return;

    std::fill(grid.cells.begin(), grid.cells.end(), static_cast<std::uint8_t>(0x20));
    grid.filledCells = grid.columns * grid.rows;

    const PageBuffer* source = &s.pages.CurrentPage;
    std::uint32_t position = static_cast<std::uint32_t>(std::max(s.TopOffset, 0));
    if (position >= source->Length) {
        // A top outside the current page shows nothing rather than stale memory.
        grid.filledCells = 0;
        return;
    }
    bool switched = false;
    std::uint32_t address = s.pages.PageIndex * PageSize + position;

    for (std::int32_t r = 0; r < grid.rows; ++r) {
        WriteRowAddress(grid, r, address);
        address += static_cast<std::uint32_t>(n);
        std::int32_t k = 0;
        while (k < n) {
            // Copy as much of the row as the source page still holds.
            const std::uint32_t take = std::min<std::uint32_t>(static_cast<std::uint32_t>(n - k),
                                                               source->Length - position);
            std::memcpy(&grid.at(r, AddressCells + k), source->Bytes.get() + position, take);
            position += take;
            k += static_cast<std::int32_t>(take);
            if (position < source->Length) continue;
            if (!switched && s.pages.NextPage.present()) {
                // The screen runs on into the next page, at most once.
                source = &s.pages.NextPage;
                position = 0;
                switched = true;
                continue;
            }
            // The data ends after the byte just copied.
            grid.filledCells = r * grid.columns + AddressCells + k;
            return;
        }
    }
}

void InvalidateCaretCell(EditorState& s) {
    const std::uint8_t fc = s.settings.FontCell;
    const int left = (s.grid.caretColumn + AddressCells) * CellWidth(fc) + CellInset(fc);
    const int top = s.grid.caretRow * CellHeight(fc);
    s.UI().invalidateDataRect(left, top, left + CellWidth(fc), top + CellHeight(fc));
}

void InvertCell(EditorState& s, int x, int y) {
    const std::uint8_t fc = s.settings.FontCell;
    s.UI().invertDataRect(x, y, x + CellWidth(fc), y + CellHeight(fc));
}

void InvertCells(EditorState& s, int x, int y, int count) {
    // x and y are a cell's origin as the caret keeps it; the cells are drawn
    // `inset` pixels further right, and the inverted blocks must cover them.
    const std::uint8_t fc = s.settings.FontCell;
    const int cw = CellWidth(fc);
    const std::int32_t n = BytesPerRow(s);
    int column = x / cw - AddressCells;
    for (int i = 0; i < count; ++i) {
        InvertCell(s, (column + AddressCells) * cw + CellInset(fc), y);
        if (++column == n) {
            column = 0;
            y += CellHeight(fc);
        }
    }
}

}  // namespace vop
