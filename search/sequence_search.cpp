#include "search/sequence_search.h"

#include <algorithm>

#include "search/document_search.h"
#include "search/held_sequence.h"
#include "view/caret_navigation.h"
#include "view/goto_address.h"

namespace vop {
namespace {

int SearchFrom(EditorState& s, std::uint64_t start, const std::uint8_t* pattern, std::int32_t length,
               BoxOwner owner) {
    // A jump to a hit in another page may ask about unsaved changes; after No
    // the pages are read back from the file, and the bytes the search saw may
    // be gone from under the caret. The same holds when another program
    // changed the file between the search and the jump. The search then goes
    // on from the next byte, in the file as it now is.
    while (s.documentOpen()) {
        SearchHit hit;
        {
            SearchProgress progress(s, "Searching\xE2\x80\xA6", start, s.pages.FileSize);
            const SequenceMatcher matcher(pattern, static_cast<std::size_t>(std::max(length, 0)));
            hit = FindInDocument(s, static_cast<std::uint32_t>(start), matcher, progress);
        }
        switch (hit.outcome) {
            case SearchOutcome::Found: break;
            case SearchOutcome::NotFound: return 0;
            case SearchOutcome::Unreadable: return -1;
            case SearchOutcome::Cancelled: return SearchCancelled;
        }
        if (!GotoAddress(s, hit.address, owner)) return -1;
        if (CaretHolds(s, pattern, length)) return 1;
        start = std::uint64_t{hit.address} + 1;
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
