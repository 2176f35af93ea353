#include "search/held_sequence.h"

namespace vop {

std::uint8_t* HeldByteAfterCaret(EditorState& s, std::int32_t k) {
    std::int64_t offset = std::int64_t{s.CaretOffset} + k;
    PageBuffer* page = s.slot(s.CaretPage);
    if (page && offset >= page->Length && s.CaretPage == PageSlot::Current) {
        offset -= page->Length;
        page = s.pages.NextPage.present() ? &s.pages.NextPage : nullptr;
    }
    if (!page || !page->present() || offset >= page->Length) return nullptr;
    return page->Bytes.get() + offset;
}

bool CaretHolds(EditorState& s, const std::uint8_t* sequence, std::int32_t length) {
    for (std::int32_t k = 0; k < length; ++k) {
        const std::uint8_t* b = HeldByteAfterCaret(s, k);
        if (!b || *b != sequence[k]) return false;
    }
    return true;
}

}  // namespace vop
