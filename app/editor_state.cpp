#include "app/editor_state.h"

namespace vop {

EditorState::EditorState() : ui(&nullUi_) {}

const PageBuffer* EditorState::slot(PageSlot s) const {
    switch (s) {
        case PageSlot::Current: return &pages.CurrentPage;
        case PageSlot::Next: return &pages.NextPage;
        case PageSlot::None: break;
    }
    return nullptr;
}

PageBuffer* EditorState::slot(PageSlot s) {
    return const_cast<PageBuffer*>(static_cast<const EditorState*>(this)->slot(s));
}

std::uint32_t EditorState::slotLength(PageSlot s) const {
    const PageBuffer* p = slot(s);
    return p ? p->Length : 0;
}

void ScreenGrid::init(std::int32_t newColumns, std::int32_t newRows) {
    columns = newColumns;
    rows = newRows;
    cells.assign(static_cast<std::size_t>(newColumns) * static_cast<std::size_t>(newRows), 0);
}

void ScreenGrid::clear() {
    if (cells.empty() && columns == 0) return;
    cells.clear();
    cells.shrink_to_fit();
    columns = rows = filledCells = caretColumn = caretRow = 0;
}

}  // namespace vop
