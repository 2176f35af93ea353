#include "view/caret_navigation.h"

#include "document/page_window.h"
#include "view/cell_metrics.h"
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

ViewSnapshot SnapshotView(const EditorState& s) {
    ViewSnapshot v;
    v.caretPage = s.CaretPage;
    v.topOffset = s.TopOffset;
    v.caretOffset = s.CaretOffset;
    v.caretRow = s.grid.caretRow;
    v.caretColumn = s.grid.caretColumn;
    v.caretX = s.CaretX;
    v.caretY = s.CaretY;
    return v;
}

void RestoreView(EditorState& s, const ViewSnapshot& v) {
    s.ScreenPage = PageSlot::Current;
    s.CaretPage = v.caretPage;
    s.TopOffset = v.topOffset;
    s.CaretOffset = v.caretOffset;
    s.grid.caretRow = v.caretRow;
    s.grid.caretColumn = v.caretColumn;
    s.CaretX = v.caretX;
    s.CaretY = v.caretY;
}

void SetCaretCell(EditorState& s, std::int32_t row, std::int32_t column) {
    const std::uint8_t fc = s.settings.FontCell;
    s.grid.caretRow = row;
    s.grid.caretColumn = column;
    s.CaretX = (column + AddressCells) * CellWidth(fc);
    s.CaretY = row * CellHeight(fc);
}

void RefreshView(EditorState& s, bool erase) {
    FillScreenGrid(s);
    s.UI().invalidateData(erase);
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
    const PageBuffer* page = s.slot(s.CaretPage);
    if (page && page->present() && s.CaretOffset >= 0 && static_cast<std::uint32_t>(s.CaretOffset) < page->Length)
        return;
    std::int64_t last = static_cast<std::int64_t>(s.pages.CurrentPage.Length) - 1;
    if (s.pages.NextPage.present()) last += s.pages.NextPage.Length;
    if (last < s.TopOffset) last = s.TopOffset;
    SetCaretByte(s, last, n);
}

bool ShiftToNextPage(EditorState& s, std::int32_t newTop) {
    if (!s.pages.NextPage.present()) return false;
    if (!LoadNextPage(s, newTop)) return false;
    KeepCaretOnFile(s, BytesPerRow(s));
    return true;
}

bool ShiftToPreviousPage(EditorState& s, std::int32_t distance) {
    if (!s.pages.PrevPage.present()) return false;
    if (!LoadPreviousPage(s, distance)) return false;
    KeepCaretOnFile(s, BytesPerRow(s));
    return true;
}

std::uint32_t TotalRows(std::uint32_t fileSize, std::int32_t n) {
    const std::uint32_t rows = fileSize / static_cast<std::uint32_t>(n);
    return fileSize % static_cast<std::uint32_t>(n) ? rows + 1 : rows;
}

}  // namespace vop
