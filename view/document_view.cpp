#include "view/document_view.h"

#include <algorithm>

#include "document/error_box.h"
#include "document/line_index.h"
#include "document/saving.h"
#include "view/caret_navigation.h"
#include "view/screen_layout.h"
#include "view/status_text.h"
#include "view/view_position.h"

namespace vop {
namespace {

// After a shift the caret keeps its screen row and column. When that cell
// holds no byte (past the end of the file, or of a next page that is shorter
// than the screen assumes) the caret moves back onto the last held byte and
// takes that byte's cell, so it is always on a byte of the file.
void SettleCaretAfterShift(EditorState& s, std::int32_t n) {
    const ScreenGrid& g = s.grid;
    const std::int64_t offset = static_cast<std::int64_t>(s.TopOffset) +
                                static_cast<std::int64_t>(std::max(g.caretRow, 0)) * n +
                                std::clamp(g.caretColumn, 0, n - 1);
    std::int64_t last = static_cast<std::int64_t>(s.pages.CurrentPage.Length) + s.pages.NextPage.Length - 1;
    SetCaretByte(s, std::min(offset, last), n);
}

// The top row's offset within the current page: a multiple of the row width
// and on a byte of the page.
std::int32_t AlignTop(std::int64_t top, std::uint32_t pageLength, std::int32_t n) {
    top = std::clamp<std::int64_t>(top, 0, static_cast<std::int64_t>(pageLength) - 1);
    return static_cast<std::int32_t>(top - top % n);
}

void RefreshIndexAfterOpen(EditorState& s) {
    DiscardLineIndex(s);
    if (!s.TextViewOn) return;
    if (s.pages.FileSize > TextViewLimit)
        s.TextViewOn = 0;  // the data window falls back to the hex view
    else
        BuildLineIndex(s);
}

void ShowOpenedDocument(EditorState& s, const std::string& path) {
    s.ScreenPage = PageSlot::Current;
    s.TopOffset = 0;
    s.grid.clear();
    s.grid.init(BytesPerRow(s) + AddressCells, ScreenRows(s));
    SetCaretByte(s, 0, BytesPerRow(s));
    PlaceCaret(s);
    FillScreenGrid(s);
    SetupScrollBar(s, true);
    s.UI().invalidateData();
    LayoutStatusParts(s, true);
    ShowFileSize(s);
    ShowCaretAddress(s);
    SyncCaretVisibility(s);
    s.UI().setSearchCommandsEnabled(true);
    s.UI().setTitle(path);
}

// After either shift: the screen starts in the new current page at `top`
// (rounded to a row), and the caret keeps its screen row and column.
void SettleViewAfterShift(EditorState& s, std::int64_t top, std::uint32_t sizeBefore) {
    const std::int32_t n = BytesPerRow(s);
    s.ScreenPage = PageSlot::Current;
    s.TopOffset = AlignTop(top, s.pages.CurrentPage.Length, n);
    SettleCaretAfterShift(s, n);
    if (s.TextViewOn) SetupScrollBar(s, false);
    FollowFileSize(s, sizeBefore);
}

}  // namespace

LoadOutcome OpenDocument(EditorState& s, const std::string& path, std::uint32_t pageIndex) {
    const LoadOutcome outcome = LoadPageWindow(s, path, pageIndex);
    switch (outcome) {
        case LoadOutcome::Loaded: break;
        case LoadOutcome::NothingAtPage: return outcome;
        // The path is shown in full, however long; the text is built, not formatted into a buffer.
        case LoadOutcome::CannotOpen: ShowError(s, "Error opening file: " + path); return outcome;
        case LoadOutcome::EmptyFile:
            CloseDocument(s);
            ShowError(s, "Size of opened file equals 0. File closed!");
            return outcome;
        case LoadOutcome::TooLarge:
            CloseDocument(s);
            ShowError(s, "This version cannot edit files greater than 2 gigabytes. File closed.");
            return outcome;
    }
    RefreshIndexAfterOpen(s);
    s.Modified = 0;
    ShowOpenedDocument(s, path);
    return outcome;
}

void CloseDocument(EditorState& s) {
    PageWindow& w = s.pages;
    ReleasePages(w);
    w.PageIndex = 0;
    w.FileSize = 0;
    w.DocumentPath = "Vop";
    s.CaretPage = PageSlot::None;
    s.CaretOffset = 0;
    s.ScreenPage = PageSlot::None;
    s.TopOffset = 0;
    s.PendingNibbleAddress = NoPendingNibble;
    s.grid.clear();
    s.CaretX = 0;
    s.CaretY = 0;
    PlaceCaret(s);
    SetupScrollBar(s, false);
    s.UI().invalidateData();
    s.UI().setTitle("Vop");
    LayoutStatusParts(s, false);
    s.UI().setStatusText(0, "");
    SyncCaretVisibility(s);
    s.UI().setSearchCommandsEnabled(false);
}

void FollowFileSize(EditorState& s, std::uint32_t sizeShown) {
    if (!s.documentOpen() || s.pages.FileSize == sizeShown) return;
    ShowFileSize(s);
    SetupScrollBar(s, true);
}

bool LoadNextPage(EditorState& s, std::int32_t t) {
    if (!s.documentOpen() || !s.pages.NextPage.present()) return false;
    const std::uint32_t size = s.pages.FileSize;
    if (!PromptSavePage(s) || !ShiftPagesForward(s)) return false;  // the unsaved pages stay held
    SettleViewAfterShift(s, t, size);
    return true;
}

bool LoadPreviousPage(EditorState& s, std::int32_t d) {
    if (!s.documentOpen() || !s.pages.PrevPage.present()) return false;
    const std::uint32_t size = s.pages.FileSize;
    if (!PromptSavePage(s) || !ShiftPagesBack(s)) return false;
    SettleViewAfterShift(s, PageSize - std::clamp<std::int64_t>(d, 1, PageSize), size);
    return true;
}

}  // namespace vop
