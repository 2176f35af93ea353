// Caret moves by byte and by row, to the row's ends, and by mouse click.
#include "state/cell_metrics.h"
#include "view/caret_byte.h"
#include "view/caret_navigation.h"
#include "view/screen_layout.h"
#include "view/status_text.h"
#include "view/view_position.h"

namespace vop {

namespace {

bool CaretPageHeld(const EditorState& s) { return CaretByte(s).has_value(); }

// The move changed the caret and now needs the screen one row further down.
// When the page window cannot move, the whole move is undone.
void ScrollOneRowDown(EditorState& s, std::int32_t n, const ViewSnapshot& before) {
    const std::int32_t currentLength = static_cast<std::int32_t>(s.pages.CurrentPage.Length);
    if (s.TopOffset + n < currentLength) {
        s.TopOffset += n;
    } else if (!ShiftOrRestore(s, Shift::Forward, s.TopOffset + n - currentLength, before)) {
        return;
    }
    RefreshView(s);
}

void ScrollOneRowUp(EditorState& s, std::int32_t n, const ViewSnapshot& before) {
    if (s.TopOffset - n >= 0) {
        s.TopOffset -= n;
    } else if (!ShiftOrRestore(s, Shift::Back, n - s.TopOffset, before)) {
        return;
    }
    RefreshView(s);
}

}  // namespace

void MoveRight(EditorState& s) {
    if (!CaretPageHeld(s)) return;
    const std::int32_t n = BytesPerRow(s);
    const std::int32_t rows = ScreenRows(s);
    const std::int32_t caretPageLength = static_cast<std::int32_t>(s.slotLength(s.CaretPage));
    const bool lastOfPage = s.CaretOffset >= caretPageLength - 1;
    if (lastOfPage && (s.CaretPage != PageSlot::Current || !s.pages.NextPage.present())) return;

    const ViewSnapshot before = SnapshotView(s);
    if (lastOfPage) {
        s.CaretPage = PageSlot::Next;
        s.CaretOffset = 0;
    } else {
        ++s.CaretOffset;
    }
    std::int32_t column = s.grid.caretColumn + 1;
    std::int32_t row = s.grid.caretRow;
    if (column < n) {
        SetCaretCell(s, row, column);
        return;
    }
    if (row < rows - 1) {
        SetCaretCell(s, row + 1, 0);
        return;
    }
    SetCaretCell(s, row, 0);
    ScrollOneRowDown(s, n, before);
}

void MoveLeft(EditorState& s) {
    if (!CaretPageHeld(s)) return;
    if (s.CaretOffset <= 0 && s.CaretPage != PageSlot::Next && !s.pages.PrevPage.present()) return;
    const std::int32_t n = BytesPerRow(s);

    const ViewSnapshot before = SnapshotView(s);
    if (s.CaretOffset > 0) {
        --s.CaretOffset;
    } else if (s.CaretPage == PageSlot::Next) {
        s.CaretPage = PageSlot::Current;
        s.CaretOffset = static_cast<std::int32_t>(s.pages.CurrentPage.Length) - 1;
    }
    // Otherwise the caret is on byte 0 of the current page, on the top row: the
    // shift below brings the previous page in and the caret onto its last byte.
    const std::int32_t column = s.grid.caretColumn - 1;
    const std::int32_t row = s.grid.caretRow;
    if (column >= 0) {
        SetCaretCell(s, row, column);
        return;
    }
    if (row > 0) {
        SetCaretCell(s, row - 1, n - 1);
        return;
    }
    SetCaretCell(s, row, n - 1);
    ScrollOneRowUp(s, n, before);
}

void MoveDown(EditorState& s) {
    if (!CaretPageHeld(s)) return;
    const std::int32_t n = BytesPerRow(s);
    const std::int32_t rows = ScreenRows(s);
    const std::int64_t caretPageLength = s.slotLength(s.CaretPage);
    const std::int64_t currentLength = s.pages.CurrentPage.Length;
    const bool belowInSamePage = s.CaretOffset < caretPageLength - n;
    if (!belowInSamePage) {
        const bool belowInNextPage = s.CaretPage == PageSlot::Current && s.pages.NextPage.present() &&
                                     s.CaretOffset + n < currentLength + s.pages.NextPage.Length;
        if (!belowInNextPage) return;
    }

    const ViewSnapshot before = SnapshotView(s);
    if (belowInSamePage) {
        s.CaretOffset += n;
    } else {
        s.CaretPage = PageSlot::Next;
        s.CaretOffset = static_cast<std::int32_t>(s.CaretOffset + n - currentLength);
    }
    if (s.grid.caretRow < rows - 1) {
        SetCaretCell(s, s.grid.caretRow + 1, s.grid.caretColumn);
        return;
    }
    ScrollOneRowDown(s, n, before);
}

void MoveUp(EditorState& s) {
    if (!CaretPageHeld(s)) return;
    const std::int32_t n = BytesPerRow(s);
    if (s.CaretOffset < n && s.CaretPage != PageSlot::Next && !s.pages.PrevPage.present()) return;

    const ViewSnapshot before = SnapshotView(s);
    if (s.CaretOffset >= n) {
        s.CaretOffset -= n;
    } else if (s.CaretPage == PageSlot::Next) {
        s.CaretPage = PageSlot::Current;
        s.CaretOffset += static_cast<std::int32_t>(s.pages.CurrentPage.Length) - n;
    }
    // Otherwise the caret is on the current page's first row, which is the top
    // row: the shift below recomputes it in the previous page.
    if (s.grid.caretRow > 0) {
        SetCaretCell(s, s.grid.caretRow - 1, s.grid.caretColumn);
        return;
    }
    ScrollOneRowUp(s, n, before);
}

void MoveRowStart(EditorState& s) {
    if (!CaretPageHeld(s)) return;
    const std::int32_t n = BytesPerRow(s);
    s.CaretOffset -= s.CaretOffset % n;
    SetCaretCell(s, s.grid.caretRow, 0);
}

void MoveRowEnd(EditorState& s) {
    if (!CaretPageHeld(s)) return;
    const std::int32_t n = BytesPerRow(s);
    const std::int32_t length = static_cast<std::int32_t>(s.slotLength(s.CaretPage));
    std::int32_t offset = s.CaretOffset - s.CaretOffset % n + n - 1;
    std::int32_t column = n - 1;
    if (offset >= length) {
        // The file's last, shorter row: stop on its last byte.
        const std::int32_t k = offset - length + 1;
        column -= k;
        offset = length - 1;
    }
    s.CaretOffset = offset;
    SetCaretCell(s, s.grid.caretRow, column);
}

bool PlaceCaretAtClick(EditorState& s, int x, int y) {
    if (s.TextViewOn || !s.documentOpen()) return false;
    const std::uint8_t fc = s.settings.FontCell;
    const int cw = CellWidth(fc);
    const int ch = CellHeight(fc);
    const int inset = CellInset(fc);
    const std::int32_t n = BytesPerRow(s);
    const std::int32_t rows = ScreenRows(s);
    if (x < AddressCells * cw + inset || x >= (n + AddressCells) * cw + inset) return false;
    if (y < 0 || y >= rows * ch) return false;

    const std::int32_t column = (x - AddressCells * cw - inset) / cw;
    const std::int32_t row = y / ch;
    const std::int64_t o = static_cast<std::int64_t>(s.TopOffset) + static_cast<std::int64_t>(row) * n + column;
    const std::int64_t currentLength = s.pages.CurrentPage.Length;
    if (o < currentLength) {
        s.CaretPage = PageSlot::Current;
        s.CaretOffset = static_cast<std::int32_t>(o);
    } else {
        if (!s.pages.NextPage.present() || o - currentLength >= s.pages.NextPage.Length) return false;
        s.CaretPage = PageSlot::Next;
        s.CaretOffset = static_cast<std::int32_t>(o - currentLength);
    }
    SetCaretCell(s, row, column);
    PlaceCaret(s);
    ShowCaretAddress(s);
    return true;
}

}  // namespace vop
