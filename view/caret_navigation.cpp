#include "view/caret_navigation.h"

#include "state/cell_metrics.h"
#include "view/caret_byte.h"
#include "view/document_view.h"
#include "view/screen_layout.h"
#include "view/view_position.h"

namespace vop {

std::uint32_t CaretAddress(const EditorState& s) {
    std::uint32_t address = s.pages.PageIndex * PageSize + static_cast<std::uint32_t>(s.CaretOffset);
    if (s.CaretPage == PageSlot::Next) address += PageSize;
    return address;
}

void PlaceCaret(EditorState& s) {
    const std::uint8_t fc = s.settings.FontCell;
    const int inset = CellInset(fc);
    if (s.settings.BlockCaret) {
        s.UI().setCaretPos(s.CaretX + inset, s.CaretY);
    } else {
        s.UI().setCaretPos(s.CaretX + inset, s.CaretY + 2 * (CellWidth(fc) - inset));
    }
}

void SyncCaretVisibility(EditorState& s) {
    const bool wanted = s.documentOpen() && !s.TextViewOn;
    if (wanted == s.CaretShown) return;
    s.CaretShown = wanted;
    if (wanted) {
        s.UI().showCaret();
    } else {
        s.UI().hideCaret();
    }
}

ViewSnapshot SnapshotView(const EditorState& s) {
    return {s.CaretPage, s.TopOffset, s.CaretOffset, s.grid.caretRow, s.grid.caretColumn};
}

void RestoreView(EditorState& s, const ViewSnapshot& v) {
    s.ScreenPage = PageSlot::Current;
    s.CaretPage = v.caretPage;
    s.TopOffset = v.topOffset;
    s.CaretOffset = v.caretOffset;
    SetCaretCell(s, v.caretRow, v.caretColumn);
}

void SetCaretCell(EditorState& s, std::int32_t row, std::int32_t column) {
    const std::uint8_t fc = s.settings.FontCell;
    s.grid.caretRow = row;
    s.grid.caretColumn = column;
    s.CaretX = (column + AddressCells) * CellWidth(fc);
    s.CaretY = row * CellHeight(fc);
}

void RefreshView(EditorState& s) {
    FillScreenGrid(s);
    s.UI().invalidateData();
}

bool ShiftOrRestore(EditorState& s, Shift direction, std::int32_t argument, const ViewSnapshot& before) {
    const bool shifted =
        direction == Shift::Forward ? LoadNextPage(s, argument) : LoadPreviousPage(s, argument);
    if (shifted) return true;
    RestoreView(s, before);
    RefreshView(s);
    return false;
}

std::int64_t CaretFromCurrentStart(const EditorState& s) {
    std::int64_t d = s.CaretOffset;
    if (s.CaretPage == PageSlot::Next) d += s.pages.CurrentPage.Length;
    return d;
}

void SetCaretByte(EditorState& s, std::int64_t fromCurrentStart, std::int32_t n) {
    const std::int64_t currentLength = s.pages.CurrentPage.Length;
    if (fromCurrentStart >= currentLength && s.pages.NextPage.present()) {
        s.CaretPage = PageSlot::Next;
        s.CaretOffset = static_cast<std::int32_t>(fromCurrentStart - currentLength);
    } else {
        s.CaretPage = PageSlot::Current;
        s.CaretOffset = static_cast<std::int32_t>(fromCurrentStart);
    }
    const std::int64_t d = fromCurrentStart - s.TopOffset;
    SetCaretCell(s, static_cast<std::int32_t>(d / n), static_cast<std::int32_t>(d % n));
}

void KeepCaretOnFile(EditorState& s, std::int32_t n) {
    if (CaretByte(s)) return;
    std::int64_t last = static_cast<std::int64_t>(s.pages.CurrentPage.Length) - 1;
    if (s.pages.NextPage.present()) last += s.pages.NextPage.Length;
    if (last < s.TopOffset) last = s.TopOffset;
    SetCaretByte(s, last, n);
}

std::uint32_t TotalRows(std::uint32_t fileSize, std::int32_t n) {
    const std::uint32_t rows = fileSize / static_cast<std::uint32_t>(n);
    return fileSize % static_cast<std::uint32_t>(n) ? rows + 1 : rows;
}

}  // namespace vop
