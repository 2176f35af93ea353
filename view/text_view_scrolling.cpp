#include "view/text_view_scrolling.h"

#include <algorithm>
#include <limits>

#include "dialogs/goto_address.h"
#include "document/line_index.h"
#include "view/caret_navigation.h"
#include "view/screen_layout.h"

namespace vop {

void TextPageDown(EditorState& s) {
    const std::int32_t rows = ScreenRows(s);
    LineIndex& li = s.lines;
    // Refused once the last line is within one screen of the top.
    if (static_cast<std::int64_t>(li.TopLine) + rows >= li.LineCount) return;
    li.TopLine += rows;
    s.UI().invalidateData(true);
}

void TextPageUp(EditorState& s) {
    LineIndex& li = s.lines;
    if (li.TopLine <= 0) return;
    li.TopLine = std::max(li.TopLine - ScreenRows(s), 0);
    s.UI().invalidateData(true);
}

void TextScrollLineDown(EditorState& s) {
    LineIndex& li = s.lines;
    if (static_cast<std::int64_t>(li.TopLine) + ScreenRows(s) >= li.LineCount) return;
    ++li.TopLine;
    s.UI().invalidateData(true);
}

void TextScrollLineUp(EditorState& s) {
    LineIndex& li = s.lines;
    if (li.TopLine <= 0) return;
    --li.TopLine;
    s.UI().invalidateData(true);
}

void ScrollTextLeft(EditorState& s, std::int32_t count) {
    LineIndex& li = s.lines;
    if (li.LeftColumn <= 0 || count <= 0) return;
    li.LeftColumn = std::max(li.LeftColumn - count, 0);
    s.UI().invalidateData(true);
}

void ScrollTextRight(EditorState& s, std::int32_t count) {
    LineIndex& li = s.lines;
    if (count <= 0) return;
    // No upper bound is needed for showing (columns past every line show
    // nothing), but the counter must not overflow when End is held for long.
    const std::int32_t room = std::numeric_limits<std::int32_t>::max() - li.LeftColumn;
    li.LeftColumn += std::min(count, room);
    s.UI().invalidateData(true);
}

void ReturnToHexView(EditorState& s) {
    if (!s.documentOpen()) return;
    const std::int32_t n = BytesPerRow(s);
    std::uint64_t start = 0;
    if (s.lines.built() && s.lines.TopLine > 0) start = LineStartOffset(s.lines, s.lines.TopLine);
    // The index reflects the file when it was built, and a final empty line
    // starts at the end of the file: the view goes to a byte that exists.
    if (start >= s.pages.FileSize) start = s.pages.FileSize - 1;
    const std::uint32_t address = static_cast<std::uint32_t>(start);

    if (address / PageSize != s.pages.PageIndex) {
        GotoAddress(s, address, BoxOwner::MainWindow, false);
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
    FillScreenGrid(s);
    PlaceCaret(s);
}

}  // namespace vop
