// The document as the user sees it: opening a file at a page and closing it,
// and the page shifts with the view that follows them. These load through
// the page window (document/page_loading.h) and then set the caret, the
// screen, the scroll bar, the status bar, the title and the menu.
#pragma once

#include <cstdint>
#include <string>

#include "document/page_loading.h"

namespace vop {

// Opens `path` (UTF-8) and loads the pages around `pageIndex`. The outcome
// says what happened; every failure but NothingAtPage has been reported.
// CannotOpen and NothingAtPage keep the held document, if any, unchanged with
// its own path; EmptyFile and TooLarge leave no document.
LoadOutcome OpenDocument(EditorState& s, const std::string& path, std::uint32_t pageIndex);

// Returns to the no-document state.
void CloseDocument(EditorState& s);

// Another program may have grown or cut the file since the status bar showed
// `sizeShown`: a shift measures it again, and the status bar and the scroll
// bar then follow the size it found.
void FollowFileSize(EditorState& s, std::uint32_t sizeShown);

// Shifts the window one page forward; t is the new top offset relative to the
// page that becomes current. Asks about unsaved changes first. Returns false
// when the window did not shift (the view position is then unchanged).
bool LoadNextPage(EditorState& s, std::int32_t t);

// Shifts the window one page back; d (1..65536) is the distance of the new top
// from the end of the page that becomes current. Returns false when it did not shift.
bool LoadPreviousPage(EditorState& s, std::int32_t d);

}  // namespace vop
