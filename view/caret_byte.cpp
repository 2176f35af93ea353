#include "view/caret_byte.h"

#include "view/screen_layout.h"

namespace vop {

std::optional<std::uint8_t> CaretByte(const EditorState& s) {
    const PageBuffer* page = s.slot(s.CaretPage);
    if (!page || !page->present()) return std::nullopt;
    if (s.CaretOffset < 0 || static_cast<std::uint32_t>(s.CaretOffset) >= page->Length) return std::nullopt;
    return page->Bytes[static_cast<std::size_t>(s.CaretOffset)];
}

void WriteCaretByte(EditorState& s, std::uint8_t value) {
    if (!CaretByte(s)) return;
    PageBuffer& page = *s.slot(s.CaretPage);
    page.Bytes[static_cast<std::size_t>(s.CaretOffset)] = value;
    page.Changed = true;
    // The cell shows the byte right of the ten address cells of its row.
    ScreenGrid& g = s.grid;
    const std::int32_t column = g.caretColumn + AddressCells;
    if (g.caretRow >= 0 && g.caretRow < g.rows && g.caretColumn >= 0 && column < g.columns)
        g.at(g.caretRow, column) = value;
    InvalidateCaretCell(s);
    s.Modified = 1;
}

void ModifyCaretByte(EditorState& s, std::uint8_t value) {
    if (CaretByte(s) != value) WriteCaretByte(s, value);
}

}  // namespace vop
