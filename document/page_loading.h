// The page window's bytes: reading the pages around a page of a file,
// shifting the window one page either way, letting the pages go. What the
// screen then shows is the view's business (view/document_view.h).
#pragma once

#include <cstdint>
#include <string>

#include "state/editor_state.h"

namespace vop {

enum class LoadOutcome {
    Loaded,         // the pages around the requested one are held
    CannotOpen,     // the file cannot be opened, or its path cannot be held: nothing changed
    EmptyFile,      // the file holds no byte: nothing changed yet
    TooLarge,       // over 2 GiB, or its size cannot be measured: nothing changed yet
    NothingAtPage,  // no byte at the requested page, or the file shrank while read: nothing changed
};

// Reads the pages around `pageIndex` of `path`. Only when that worked do they
// replace the held pages, with the path, page index and size; otherwise the
// held document stays exactly as it was. Reports nothing: the caller knows
// what each outcome means to the user.
LoadOutcome LoadPageWindow(EditorState& s, const std::string& path, std::uint32_t pageIndex);

// Lets every held page go: no document afterwards.
void ReleasePages(PageWindow& w);

// How a forward shift learns the file's size. Every shift measures it, so
// the window follows another program's changes, except within a replace-all
// run: that shifts through the whole file a page at a time, and measuring
// costs as much as reading the page (three calls into the system under
// Wine). A run measures only when the page after the next does not come
// back whole, which is where a file cut short shows.
enum class SizeCheck { EveryShift, WhenReadShort };

// One page forward or back: the neighbour page becomes current and the page
// beyond it is read, the size measured again. They ask nothing (unsaved
// changes are the caller's to settle first). When the file no longer holds
// the pages the window would move to, nothing moves and the failure is
// reported: "Error reading file!" forward, "Error opening file!" back.
bool ShiftPagesForward(EditorState& s, SizeCheck check = SizeCheck::EveryShift);
bool ShiftPagesBack(EditorState& s);

}  // namespace vop
