#include "search/find_replace.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

#include "document/error_box.h"
#include "document/page_loading.h"
#include "document/saving.h"
#include "search/document_search.h"
#include "search/held_sequence.h"
#include "search/run_file_system.h"
#include "search/sequence_matcher.h"
#include "search/sequence_search.h"
#include "view/caret_navigation.h"
#include "view/document_view.h"
#include "view/goto_address.h"
#include "view/screen_layout.h"
#include "view/status_text.h"
#include "view/text_view.h"
#include "view/view_position.h"

namespace vop {
namespace {

constexpr BoxOwner Dialog = BoxOwner::ActiveDialog;

std::int32_t PatternLength(std::int32_t length) {
    return std::clamp<std::int32_t>(length, 0, static_cast<std::int32_t>(MaxPatternLength));
}

// Overwrites the occurrence at the caret; one that runs past the caret's
// page goes on at the start of the next page.
void WriteAtCaret(EditorState& s, const std::uint8_t* replacement, std::int32_t length) {
    for (std::int32_t k = 0; k < length; ++k) *HeldByteAfterCaret(s, k) = replacement[k];
    // Only the pages written into are saved later.
    s.slot(s.CaretPage)->Changed = true;
    if (s.CaretPage == PageSlot::Current && std::int64_t{s.CaretOffset} + length > s.pages.CurrentPage.Length)
        s.pages.NextPage.Changed = true;
    s.Modified = 1;
}

struct RunResult {
    int count = 0;
    bool cancelled = false;
    bool failed = false;  // a save, shift or jump failed and said so: nothing more is written
    bool moved = false;  // the caret left the last place the screen showed
    std::uint32_t lastHit = 0;
    // Where the run put the caret, as an address: a jump that failed may
    // have read the page window again around another page.
    std::uint32_t caret = 0;
};

// Moves the caret to `address` in the held pages without touching the
// screen: replace-all passes a million occurrences and shows where it ended.
void SetCaretQuietly(EditorState& s, RunResult& run, std::uint32_t address) {
    const std::uint64_t fromCurrent = address - PageStart(s.pages.PageIndex);
    const bool inCurrent = fromCurrent < s.pages.CurrentPage.Length;
    s.CaretPage = inCurrent ? PageSlot::Current : PageSlot::Next;
    s.CaretOffset = static_cast<std::int32_t>(inCurrent ? fromCurrent : fromCurrent - s.pages.CurrentPage.Length);
    run.caret = address;
    run.moved = true;
}

// The screen after a replace-all run: scrolled to the last occurrence (which
// lies in the current page) and on until the caret the run left after it is
// on the screen. The top row never leaves the current page, so a caret deep
// in the next page, below the screen's reach, goes back to the occurrence's
// first byte, on the top row.
void ShowRunEnd(EditorState& s, const RunResult& run) {
    if (!GotoAddress(s, run.lastHit, Dialog)) return;
    const std::int64_t after = std::int64_t{run.caret} - static_cast<std::int64_t>(PageStart(s.pages.PageIndex));
    const std::int32_t n = BytesPerRow(s);
    if ((after - s.TopOffset) / n >= ScreenRows(s)) {
        const std::int64_t lastRow = (s.pages.CurrentPage.Length - 1) / n * n;
        const std::int64_t top = std::min(after - after % n, lastRow);
        if ((after - top) / n >= ScreenRows(s)) return;
        s.TopOffset = static_cast<std::int32_t>(top);
        SyncScrollPosition(s);
    }
    SetCaretByte(s, after, n);
    PlaceCaret(s);
    ShowCaretAddress(s);
    RefreshView(s);
}

// Writes the n-byte replacement over an occurrence. Short ones, the common
// case, go as two fixed-size moves that overlap (any length from k to 2k)
// rather than a call: a dense run writes a million of them.
void Overwrite(std::uint8_t* at, const std::uint8_t* with, std::size_t n) {
    if (n >= 4 && n <= 8) {
        std::memcpy(at, with, 4);
        std::memcpy(at + n - 4, with + n - 4, 4);
    } else if (n >= 8 && n <= 16) {
        std::memcpy(at, with, 8);
        std::memcpy(at + n - 8, with + n - 8, 8);
    } else {
        std::memcpy(at, with, n);
    }
}

// Replaces the occurrences from `from` on that lie wholly in the current
// page, straight in its held bytes: the ones the run's search would find
// there first, each looked for after the one before, Esc polled before each.
// A file dense with occurrences spends most of a run here, so the matcher
// reports them a batch at a time from one pass over the page. Leaves `from`
// and the caret after the last one replaced; true when the run ends here
// (Esc, or an occurrence that ends the file, which keeps the caret on its
// first byte).
bool ReplaceWithinCurrentPage(EditorState& s, std::uint32_t& from, const SequenceMatcher& matcher,
                              const std::uint8_t* replacement, SearchProgress& progress, RunResult& run) {
    PageBuffer& page = s.pages.CurrentPage;
    const std::uint64_t start = PageStart(s.pages.PageIndex);
    const std::size_t n = matcher.length();
    if (n == 0 || from < start || from >= start + page.Length) return false;
    std::size_t hits[256];
    while (true) {
        const std::uint32_t batchFrom = from;
        std::uint8_t* bytes = page.Bytes.get() + (batchFrom - start);
        const std::size_t found = matcher.findAll(bytes, page.Length - (batchFrom - start), hits, std::size(hits));
        if (found == 0) return false;
        std::size_t k = 0;
        bool stopped = false;
        while (k < found && from < s.pages.FileSize) {
            const std::uint32_t hit = batchFrom + static_cast<std::uint32_t>(hits[k]);
            stopped = progress.stopAt(hit);
            if (stopped) break;
            Overwrite(bytes + hits[k++], replacement, n);
            run.lastHit = hit;
            from = hit + static_cast<std::uint32_t>(n);
        }
        if (k > 0) {
            page.Changed = true;
            s.Modified = 1;
            run.count += static_cast<int>(k);
            SetCaretQuietly(s, run, from >= s.pages.FileSize ? run.lastHit : from);
        }
        run.cancelled = stopped;
        if (run.cancelled || from >= s.pages.FileSize) return true;
        if (found < std::size(hits)) return false;  // the page is searched to its end
    }
}

RunResult ReplaceEveryOccurrence(EditorState& s, const std::uint8_t* search, const std::uint8_t* replacement,
                                 std::int32_t length) {
    RunResult run;
    std::uint32_t from = CaretAddress(s);
    SearchProgress progress(s, "Replacing\xE2\x80\xA6", from, s.pages.FileSize);
    const SequenceMatcher matcher(search, static_cast<std::size_t>(length));
    while (true) {
        if (ReplaceWithinCurrentPage(s, from, matcher, replacement, progress, run)) break;
        const SearchHit hit = FindInDocument(s, from, matcher, progress);
        if (hit.outcome != SearchOutcome::Found) {
            run.cancelled = hit.outcome == SearchOutcome::Cancelled;
            break;
        }
        const std::uint32_t page = hit.address / PageSize;
        const bool nothingToAsk = !s.Modified || s.ReplaceAllSaveAgreed;
        if (page == s.pages.PageIndex || (page == s.pages.PageIndex + 1 && nothingToAsk)) {
            // The next page with no question to ask (nothing changed, or the
            // user agreed to save): the page left behind is written if it
            // holds changes, the next one's stay held until it is left in
            // turn, and the page after is read, one page instead of three.
            // The screen follows when the run ends.
            const bool shift = page != s.pages.PageIndex;
            run.failed = shift && ((s.Modified && !SaveCurrentPage(s)) ||
                                   !ShiftPagesForward(s, SizeCheck::WhenReadShort));
            if (run.failed) break;
            SetCaretQuietly(s, run, hit.address);
            run.lastHit = hit.address;
        } else {
            // Another page: the save question (or the silent save after a
            // first Yes) and the reload, as any jump there. A jump that
            // failed has shown the held pages and left the caret be.
            run.failed = !GotoAddress(s, hit.address, Dialog);
            if (run.failed) break;
            run.moved = false;
            if (s.ReplaceAllDeclined) break;
        }
        if (!CaretHolds(s, search, length)) {
            // The page was read again from a file that changed since it was
            // searched: look again from the next byte.
            from = hit.address + 1;
            continue;
        }
        WriteAtCaret(s, replacement, length);
        ++run.count;
        run.lastHit = hit.address;
        run.moved = true;  // the screen must show the new bytes
        // An occurrence that ends the file leaves the caret on its first byte.
        from = hit.address + static_cast<std::uint32_t>(length);
        run.caret = hit.address;
        if (from >= s.pages.FileSize) break;
        SetCaretQuietly(s, run, from);
    }
    return run;
}

}  // namespace

void FindDialogOpened(EditorState& s) { s.FindPatternLength = 0; }

void RunFind(EditorState& s, const std::uint8_t* pattern, std::int32_t length) {
    s.FindPatternLength = 0;
    const std::int32_t n = PatternLength(length);
    if (n > 0) std::memcpy(s.FindPattern.data(), pattern, static_cast<std::size_t>(n));
    s.FindPatternLength = n;
    if (s.TextViewOn) LeaveTextView(s);
    if (SearchSequence(s, s.FindPattern.data(), n, Dialog) == 0)
        s.UI().messageBox(Dialog, "Sequence not found!", "Find", BoxButtons::Ok);
}

bool ReplaceMayStart(EditorState& s, std::int32_t searchLength, std::int32_t replacementLength) {
    s.ReplacePatternLength = PatternLength(searchLength);
    if (searchLength != replacementLength) {
        s.UI().messageBox(Dialog, "Source and target must have equal lenght!", "Error", BoxButtons::Ok);
        return false;
    }
    return searchLength > 0;
}

void ReplaceOneByOne(EditorState& s, const std::uint8_t* search, const std::uint8_t* replacement,
                     std::int32_t length) {
    const std::int32_t n = PatternLength(length);
    bool fromNextByte = false;
    while (true) {
        const int result = fromNextByte ? FindNext(s, search, n, Dialog) : SearchSequence(s, search, n, Dialog);
        if (result == 0) s.UI().messageBox(Dialog, "Sequence not found!", "Replace", BoxButtons::Ok);
        if (result != 1) return;
        s.UI().startBlinking();
        const BoxAnswer answer = s.UI().messageBox(Dialog, "Replace this occurrance?", "Replace", BoxButtons::YesNoCancel);
        s.UI().stopBlinking();
        if (answer == BoxAnswer::Cancel) return;
        fromNextByte = answer != BoxAnswer::Yes;
        if (answer == BoxAnswer::Yes) {
            WriteAtCaret(s, replacement, n);
            RefreshView(s);
        }
    }
}

void ReplaceAll(EditorState& s, const std::uint8_t* search, const std::uint8_t* replacement, std::int32_t length) {
    const std::int32_t n = PatternLength(length);
    s.ReplaceAllRunning = 1;
    s.ReplaceAllSaveAgreed = 0;
    s.ReplaceAllDeclined = 0;
    // One replace-all run keeps the file open from its first read to its last
    // write; it is closed on every way out of here.
    RunFileSystem files(s);
    const std::uint32_t size = s.pages.FileSize;
    const RunResult run = ReplaceEveryOccurrence(s, search, replacement, n);
    s.ReplaceAllRunning = 0;
    if (run.moved) ShowRunEnd(s, run);
    FollowFileSize(s, size);  // the run's quiet shifts may have found another size
    // Declined: the changes are dropped, and the pages read back (when the
    // file could not be read they stay held, still marked modified). Nothing
    // was written.
    if (s.ReplaceAllDeclined) return;
    // Stopped with Esc: what is held stays as unsaved changes, for the user
    // to keep or drop. Stopped by a failure, already reported: what is held
    // stays unsaved too, and nothing more is written.
    if (s.ReplaceAllSaveAgreed && !run.cancelled && !run.failed) SaveDocument(s);
    if (!files.finish() && !run.failed) {
        // The close failed after the run wrote: what it saved may not be in
        // the file. The pages still held count as unsaved again.
        ShowError(s, "Error writing file!");
        s.pages.CurrentPage.Changed = true;
        s.pages.NextPage.Changed = s.pages.NextPage.present();
        s.Modified = 1;
    }
    s.UI().messageBox(Dialog, "Replaced " + std::to_string(run.count) + " occurances", "Replace", BoxButtons::Ok);
}

}  // namespace vop
