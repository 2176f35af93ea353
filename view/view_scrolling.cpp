// Screen-wise and row-wise scrolls of the hex view, and the relayout after a
// size or cell change. The text view's scrolls live in text_view.cpp.
#include "view/caret_navigation.h"
#include "view/document_view.h"
#include "view/screen_layout.h"
#include "view/text_view.h"
#include "view/view_position.h"

namespace vop {
namespace {

bool HexViewReady(const EditorState& s) { return s.documentOpen() && s.CaretPage != PageSlot::None; }

// After a one-row scroll the caret is on the byte at its (possibly moved)
// cell, or on the file's last byte when that cell is past the end.
void CaretToItsCell(EditorState& s, std::int32_t n) {
    SetCaretByte(s, static_cast<std::int64_t>(s.TopOffset) + static_cast<std::int64_t>(s.grid.caretRow) * n +
                        s.grid.caretColumn,
                 n);
    KeepCaretOnFile(s, n);
    RefreshView(s);
}

}  // namespace

void PageDown(EditorState& s) {
    if (s.TextViewOn) {
        TextPageDown(s);
        return;
    }
    if (!HexViewReady(s)) return;
    const std::int32_t n = BytesPerRow(s);
    const std::int64_t screenBytes = static_cast<std::int64_t>(n) * ScreenRows(s);
    const std::int64_t currentLength = s.pages.CurrentPage.Length;
    const std::int64_t newTop = s.TopOffset + screenBytes;
    const bool intoNextPage = newTop >= currentLength;
    if (intoNextPage && !(s.pages.NextPage.present() && newTop < currentLength + s.pages.NextPage.Length)) return;

    if (intoNextPage) {
        // The caret keeps its row and column through the shift, or stops on
        // the file's last byte. This holds as well when the caret already was
        // in the next page.
        const ViewSnapshot before = SnapshotView(s);
        s.TopOffset = static_cast<std::int32_t>(newTop);
        if (ShiftOrRestore(s, Shift::Forward, static_cast<std::int32_t>(newTop - currentLength), before))
            RefreshView(s);
        return;
    }
    s.TopOffset = static_cast<std::int32_t>(newTop);
    const std::int64_t caret = CaretFromCurrentStart(s) + screenBytes;
    std::int64_t lastHeld = currentLength - 1;
    if (s.pages.NextPage.present()) lastHeld += s.pages.NextPage.Length;
    SetCaretByte(s, std::min(caret, lastHeld), n);
    RefreshView(s);
}

void PageUp(EditorState& s) {
    if (s.TextViewOn) {
        TextPageUp(s);
        return;
    }
    if (!HexViewReady(s)) return;
    const std::int32_t n = BytesPerRow(s);
    const std::int32_t screenBytes = n * ScreenRows(s);

    if (s.TopOffset < screenBytes && !s.pages.PrevPage.present()) {
        if (s.TopOffset < 1) return;
        // In the file's first page: the top goes to byte 0 and the caret keeps
        // its row and column.
        s.TopOffset = 0;
        s.CaretPage = PageSlot::Current;
        s.CaretOffset = s.grid.caretRow * n + s.grid.caretColumn;
        RefreshView(s);
        return;
    }
    if (s.TopOffset - screenBytes < 0) {
        if (ShiftOrRestore(s, Shift::Back, screenBytes - s.TopOffset, SnapshotView(s))) RefreshView(s);
        return;
    }
    s.TopOffset -= screenBytes;
    SetCaretByte(s, CaretFromCurrentStart(s) - screenBytes, n);
    RefreshView(s);
}

void ScrollLineDown(EditorState& s) {
    if (s.TextViewOn) {
        TextScrollLineDown(s);
        return;
    }
    if (!HexViewReady(s)) return;
    const std::int32_t n = BytesPerRow(s);
    const std::int32_t rows = ScreenRows(s);
    // The top row number is taken from the view itself, which is what the
    // scroll bar position holds once it is in step.
    const std::uint64_t top = PageStart(s.pages.PageIndex) + static_cast<std::uint64_t>(s.TopOffset);
    const std::int64_t topRow = static_cast<std::int64_t>(top / static_cast<std::uint64_t>(n));
    if (topRow >= static_cast<std::int64_t>(TotalRows(s.pages.FileSize, n)) - rows) return;
    const std::int64_t currentLength = s.pages.CurrentPage.Length;
    const bool shift = s.TopOffset + n >= currentLength;
    if (shift && !s.pages.NextPage.present()) return;

    const ViewSnapshot before = SnapshotView(s);
    // The caret keeps its byte, one row higher; on row 0 it stays on row 0.
    // The row is set before the shift so that the shift recomputes this byte.
    if (s.grid.caretRow > 0) SetCaretCell(s, s.grid.caretRow - 1, s.grid.caretColumn);
    if (!shift) {
        s.TopOffset += n;
    } else if (!ShiftOrRestore(s, Shift::Forward, static_cast<std::int32_t>(s.TopOffset + n - currentLength),
                               before)) {
        return;
    }
    CaretToItsCell(s, n);
}

void ScrollLineUp(EditorState& s) {
    if (s.TextViewOn) {
        TextScrollLineUp(s);
        return;
    }
    if (!HexViewReady(s)) return;
    const std::int32_t n = BytesPerRow(s);
    const std::int32_t rows = ScreenRows(s);
    if (s.TopOffset < n && !s.pages.PrevPage.present()) return;

    const ViewSnapshot before = SnapshotView(s);
    // The caret keeps its byte, one row lower; on the last row it stays there.
    if (s.grid.caretRow < rows - 1) SetCaretCell(s, s.grid.caretRow + 1, s.grid.caretColumn);
    if (s.TopOffset >= n) {
        s.TopOffset -= n;
    } else if (!ShiftOrRestore(s, Shift::Back, n - s.TopOffset, before)) {
        return;
    }
    CaretToItsCell(s, n);
}

void Relayout(EditorState& s) {
    if (!HexViewReady(s)) return;
    const std::int32_t n = BytesPerRow(s);
    const std::int32_t rows = ScreenRows(s);
    s.grid.clear();
    s.grid.init(n + AddressCells, rows);
    s.ScreenPage = PageSlot::Current;

    s.TopOffset -= s.TopOffset % n;
    const std::int64_t caret = CaretFromCurrentStart(s);
    std::int64_t d = caret - s.TopOffset;
    if (d / n >= rows) {
        // The caret would be below the screen: its row becomes the last row.
        const std::int64_t move = (d / n - rows + 1) * n;
        const std::int64_t newTop = s.TopOffset + move;
        d -= move;
        const std::int64_t currentLength = s.pages.CurrentPage.Length;
        if (newTop >= currentLength) {
            const ViewSnapshot before = SnapshotView(s);
            SetCaretCell(s, static_cast<std::int32_t>(d / n), static_cast<std::int32_t>(d % n));
            s.TopOffset = static_cast<std::int32_t>(newTop);
            if (!LoadNextPage(s, static_cast<std::int32_t>(newTop - currentLength))) {
                // The window cannot move: keep the top on the current page's
                // last row and bring the caret up into the screen, in its column.
                RestoreView(s, before);
                s.TopOffset = static_cast<std::int32_t>(currentLength - n);
                const std::int64_t fromTop = caret - s.TopOffset;
                const std::int64_t row = fromTop / n < rows ? fromTop / n : rows - 1;
                SetCaretByte(s, s.TopOffset + row * n + fromTop % n, n);
                KeepCaretOnFile(s, n);
            }
            FillScreenGrid(s);
            return;
        }
        s.TopOffset = static_cast<std::int32_t>(newTop);
    }
    SetCaretCell(s, static_cast<std::int32_t>(d / n), static_cast<std::int32_t>(d % n));
    FillScreenGrid(s);
}

}  // namespace vop
