// Finding a byte sequence in the open document as the user sees it: the
// pages held in memory as held (with their unsaved changes), the rest of the
// file as stored. Nothing moves; the caller decides what a hit does.
#pragma once

#include <cstdint>

#include "search/search_progress.h"
#include "search/sequence_matcher.h"
#include "state/editor_state.h"

namespace vop {

enum class SearchOutcome { Found, NotFound, Unreadable, Cancelled };

struct SearchHit {
    SearchOutcome outcome = SearchOutcome::NotFound;
    std::uint32_t address = 0;  // the occurrence's first byte, when found
};

// The first occurrence at or after `start`, ending at or before FileSize.
// The file is opened only when the held pages hold no occurrence; when it
// cannot be, "Error opening file for reading!" is shown (owned by the main
// window). Between chunks it reports to `progress`, which may stop it. Memory
// is fixed whatever the file's size.
SearchHit FindInDocument(EditorState& s, std::uint32_t start, const SequenceMatcher& matcher,
                         SearchProgress& progress);

}  // namespace vop
