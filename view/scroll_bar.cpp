// The data window's vertical scroll bar, kept in step with the view.
#include <algorithm>

#include "view/caret_navigation.h"
#include "view/goto_address.h"
#include "view/screen_layout.h"
#include "view/view_position.h"

namespace vop {

namespace {

// Below this size the view follows the thumb while it is dragged; above it
// a jump reloads pages, so the view moves only when the thumb is released.
constexpr std::uint32_t FollowThumbLimit = 0xAA0001u;

int ThumbHeight(EditorState& s, std::uint32_t divisor) {
    const int track = s.UI().dataClientSize().height - 2 * s.UI().scrollArrowHeight();
    const int height = track / static_cast<int>(divisor + 1);
    return std::max(height, 5);
}

void SetupHexScrollBar(EditorState& s, bool withPosition) {
    const std::int32_t n = BytesPerRow(s);
    const std::int32_t rows = ScreenRows(s);
    const std::int64_t range = static_cast<std::int64_t>(TotalRows(s.pages.FileSize, n)) - rows;
    if (range < 1) {
        // The whole file fits on the screen: its first byte goes to the top.
        s.UI().scrollEnableArrows(false);
        if (s.TopOffset == 0) return;
        const std::int64_t caret = CaretFromCurrentStart(s);
        s.TopOffset = 0;
        SetCaretByte(s, caret, n);
        PlaceCaret(s);
        RefreshView(s);
        return;
    }
    s.UI().scrollEnableArrows(true);
    s.UI().scrollSetRange(static_cast<int>(range));
    const std::uint32_t screenBytes = static_cast<std::uint32_t>(rows) * static_cast<std::uint32_t>(n);
    s.UI().scrollSetThumbHeight(ThumbHeight(s, s.pages.FileSize / screenBytes), !withPosition);
    if (withPosition) SyncScrollPosition(s);
}

void SetupTextScrollBar(EditorState& s, bool withPosition) {
    const std::int32_t n = BytesPerRow(s);
    const std::int32_t rows = ScreenRows(s);
    const std::int64_t range = static_cast<std::int64_t>(s.lines.LineCount) - rows;
    if (range < 1) {
        s.UI().scrollEnableArrows(false);
        if (s.lines.TopLine != 0) {
            s.lines.TopLine = 0;
            s.UI().invalidateData();
        } else if (withPosition) {
            SyncScrollPosition(s);
        }
        return;
    }
    s.UI().scrollEnableArrows(true);
    s.UI().scrollSetRange(static_cast<int>(range));
    s.UI().scrollSetThumbHeight(
        ThumbHeight(s, static_cast<std::uint32_t>(s.lines.LineCount) / static_cast<std::uint32_t>(n)),
        !withPosition);
    if (withPosition) SyncScrollPosition(s);
}

}  // namespace

void SetupScrollBar(EditorState& s, bool withPosition) {
    if (!s.documentOpen()) {
        // Nothing to scroll through (also in the text view, whose index may
        // outlive the closed document).
        s.UI().scrollEnableArrows(false);
        return;
    }
    if (s.TextViewOn) {
        SetupTextScrollBar(s, withPosition);
    } else {
        SetupHexScrollBar(s, withPosition);
    }
}

void SyncScrollPosition(EditorState& s) {
    if (s.pages.FileSize == 0) return;
    if (s.TextViewOn) {
        s.UI().scrollSetPos(s.lines.TopLine);
        return;
    }
    const std::uint32_t n = static_cast<std::uint32_t>(BytesPerRow(s));
    // The top row starts a row: every row width divides the page size.
    const std::uint32_t top = s.pages.PageIndex * PageSize + static_cast<std::uint32_t>(s.TopOffset);
    s.UI().scrollSetPos(static_cast<int>(top / n));
}

void ScrollToThumb(EditorState& s, ThumbKind kind, std::int32_t position) {
    if (!s.documentOpen()) return;
    if (s.TextViewOn) {
        if (kind != ThumbKind::Tracking) return;
        const std::int32_t lastLine = std::max(s.lines.LineCount - 1, 0);
        s.lines.TopLine = std::clamp(position, 0, lastLine);
        s.UI().invalidateData();
        return;
    }
    const bool follow = s.pages.FileSize < FollowThumbLimit;
    if (kind == ThumbKind::Tracking && !follow) return;
    const std::uint64_t n = static_cast<std::uint64_t>(BytesPerRow(s));
    std::uint64_t address = n * static_cast<std::uint64_t>(std::max(position, 0));
    // The thumb stays inside its range, but a stale position must still land
    // on a byte of the file rather than raise the address message.
    if (address >= s.pages.FileSize) address = s.pages.FileSize - 1;
    GotoAddress(s, static_cast<std::uint32_t>(address), BoxOwner::DataWindow);
}

}  // namespace vop
