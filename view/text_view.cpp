#include "view/text_view.h"

#include <algorithm>
#include <limits>

#include "document/line_index.h"
#include "view/caret_navigation.h"
#include "view/goto_address.h"
#include "view/screen_layout.h"

namespace vop {

void TextPageDown(EditorState& s) {
    const std::int32_t rows = ScreenRows(s);
    LineIndex& li = s.lines;
    // Refused once the last line is within one screen of the top.
    if (static_cast<std::int64_t>(li.TopLine) + rows >= li.LineCount) return;
    li.TopLine += rows;
    s.UI().invalidateData();
}

void TextPageUp(EditorState& s) {
    LineIndex& li = s.lines;
    if (li.TopLine <= 0) return;
    li.TopLine = std::max(li.TopLine - ScreenRows(s), 0);
    s.UI().invalidateData();
}

void TextScrollLineDown(EditorState& s) {
    LineIndex& li = s.lines;
    if (static_cast<std::int64_t>(li.TopLine) + ScreenRows(s) >= li.LineCount) return;
    ++li.TopLine;
    s.UI().invalidateData();
}

void TextScrollLineUp(EditorState& s) {
    LineIndex& li = s.lines;
    if (li.TopLine <= 0) return;
    --li.TopLine;
    s.UI().invalidateData();
}

void ScrollTextLeft(EditorState& s, std::int32_t count) {
    LineIndex& li = s.lines;
    if (li.LeftColumn <= 0 || count <= 0) return;
    li.LeftColumn = std::max(li.LeftColumn - count, 0);
    s.UI().invalidateData();
}

void ScrollTextRight(EditorState& s, std::int32_t count) {
    LineIndex& li = s.lines;
    if (count <= 0) return;
    // No upper bound is needed for showing (columns past every line show
    // nothing), but the counter must not overflow when End is held for long.
    const std::int32_t room = std::numeric_limits<std::int32_t>::max() - li.LeftColumn;
    li.LeftColumn += std::min(count, room);
    s.UI().invalidateData();
}

namespace {

// The hex view at the first byte of the text view's top line.
void ReturnToHexView(EditorState& s) {
    if (!s.documentOpen()) return;
    const std::int32_t n = BytesPerRow(s);
    std::uint64_t start = LineStartOffset(s.lines, s.lines.TopLine);
    // The index reflects the file when it was built, and a final empty line
    // starts at the end of the file: the view goes to a byte that exists.
    if (start >= s.pages.FileSize) start = s.pages.FileSize - 1;
    const std::uint32_t address = static_cast<std::uint32_t>(start);

    if (address / PageSize != s.pages.PageIndex) {
        GotoAddress(s, address, BoxOwner::MainWindow);
        return;
    }
    const std::int32_t o = static_cast<std::int32_t>(address % PageSize);
    const std::int32_t rowStart = o - o % n;
    if (static_cast<std::uint32_t>(rowStart) >= s.pages.CurrentPage.Length) return;
    s.ScreenPage = PageSlot::Current;
    s.CaretPage = PageSlot::Current;
    s.CaretOffset = rowStart;
    s.TopOffset = rowStart;
    Relayout(s);
    PlaceCaret(s);
}

}  // namespace

void EnterTextView(EditorState& s) {
    s.TextViewOn = 1;
    SyncCaretVisibility(s);
    if (!s.lines.built()) BuildLineIndex(s);
    s.settings.FontType = 0;
    LocateTopLine(s);
    SetupScrollBar(s, true);
    s.UI().invalidateData();
}

void LeaveTextView(EditorState& s) {
    s.TextViewOn = 0;
    SyncCaretVisibility(s);
    ReturnToHexView(s);
    SetupScrollBar(s, true);
    // The hex view must replace the lines on the screen even when the search
    // that follows (F3) finds nothing and repaints nothing.
    s.UI().invalidateData();
}

}  // namespace vop
