// The paged file window: three consecutive 64 KiB pages of the open file
// (previous, current, next). Opening, shifting one page either way, closing.
#pragma once

#include <cstdint>
#include <string>

#include "app/editor_state.h"

namespace vop {

// Longest path the program accepts (the path buffer holds 516 characters
// with the terminating zero). Longer paths are refused, never cut.
constexpr std::size_t MaxPathLength = 515;

// Opens `path` and loads the pages around `pageIndex`. Returns true when pages
// of that file are now held; false when nothing was loaded (the previously
// held document, if any, is then kept unchanged with its own DocumentPath) or
// when the file was refused (empty, too large: no document afterwards).
bool OpenDocument(EditorState& s, const std::string& path, std::uint32_t pageIndex);

// Returns to the no-document state.
void CloseDocument(EditorState& s);

// Shifts the window one page forward; t is the new top offset relative to the
// page that becomes current. Asks about unsaved changes first. Returns false
// when the window did not shift (the view position is then unchanged).
bool LoadNextPage(EditorState& s, std::int32_t t);

// Shifts the window one page back; d (1..65536) is the distance of the new top
// from the end of the page that becomes current. Returns false when it did not shift.
bool LoadPreviousPage(EditorState& s, std::int32_t d);

}  // namespace vop
