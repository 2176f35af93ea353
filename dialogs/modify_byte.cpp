#include "dialogs/modify_byte.h"

namespace vop {

std::optional<std::uint8_t> CaretByte(const EditorState& s) {
    const PageBuffer* page = s.slot(s.CaretPage);
    if (!page || !page->present()) return std::nullopt;
    if (s.CaretOffset < 0 || static_cast<std::uint32_t>(s.CaretOffset) >= page->Length) return std::nullopt;
    return page->Bytes[static_cast<std::size_t>(s.CaretOffset)];
}

bool WriteCaretByte(EditorState& s, std::uint8_t value) {
    const auto old = CaretByte(s);
    if (!old || *old == value) return false;
    s.slot(s.CaretPage)->Bytes[static_cast<std::size_t>(s.CaretOffset)] = value;

    // The cell shows the byte right of the ten address cells of its row.
    ScreenGrid& g = s.grid;
    const std::int32_t column = g.caretColumn + AddressCells;
    if (g.caretRow >= 0 && g.caretRow < g.rows && column >= 0 && column < g.columns &&
        static_cast<std::size_t>(g.rows) * static_cast<std::size_t>(g.columns) <= g.cells.size()) {
        g.at(g.caretRow, column) = value;
    }
    s.Modified = 1;
    return true;
}

}  // namespace vop
