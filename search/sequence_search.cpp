#include "search/sequence_search.h"

#include <algorithm>

#include "search/document_search.h"
#include "view/caret_navigation.h"
#include "view/goto_address.h"

namespace vop {
namespace {

int SearchFrom(EditorState& s, std::uint64_t start, const std::uint8_t* pattern, std::int32_t length,
               BoxOwner owner) {
    if (!s.documentOpen() || start >= s.pages.FileSize) return 0;
    SearchHit hit;
    {
        SearchProgress progress(s, "Searching\xE2\x80\xA6", start, s.pages.FileSize);
        const SequenceMatcher matcher(pattern, static_cast<std::size_t>(std::max(length, 0)));
        hit = FindInDocument(s, static_cast<std::uint32_t>(start), matcher, progress);
    }
    switch (hit.outcome) {
        case SearchOutcome::Found: return GotoAddress(s, hit.address, owner) ? 1 : -1;
        case SearchOutcome::NotFound: return 0;
        case SearchOutcome::Unreadable: return -1;
        case SearchOutcome::Cancelled: return SearchCancelled;
    }
    return 0;
}

}  // namespace

int SearchSequence(EditorState& s, const std::uint8_t* pattern, std::int32_t length, BoxOwner owner) {
    return SearchFrom(s, CaretAddress(s), pattern, length, owner);
}

int FindNext(EditorState& s, const std::uint8_t* pattern, std::int32_t length, BoxOwner owner) {
    return SearchFrom(s, std::uint64_t{CaretAddress(s)} + 1, pattern, length, owner);
}

}  // namespace vop
