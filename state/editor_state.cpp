#include "state/editor_state.h"

namespace vop {

EditorState::EditorState() : ui(&nullUi_), files(&nullFiles_) {}

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

}  // namespace vop
