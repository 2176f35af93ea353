#include "document/page_window.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "app/status_text.h"
#include "document/line_index.h"
#include "document/saving.h"
#include "view/caret_navigation.h"
#include "view/cell_metrics.h"
#include "view/screen_layout.h"

namespace vop {
namespace {

// Page 32768 would start at 2 GiB, past the largest file we accept.
constexpr std::uint64_t PageCountLimit = MaxFileSize / PageSize;

std::uint64_t PageStart(std::uint32_t pageIndex) { return static_cast<std::uint64_t>(pageIndex) * PageSize; }

void ShowError(EditorState& s, const std::string& text) {
    s.UI().messageBox(BoxOwner::MainWindow, text, "Error", BoxButtons::Ok);
}

// Reads the page that starts at `offset` into a fresh block. The block is
// absent when nothing could be read, so a present page always has 1..65536
// bytes. The unread tail of a short page is zeroed, never left indeterminate.
PageBuffer ReadPage(OpenFile& file, std::uint64_t offset) {
    PageBuffer page;
    if (!file.seek(offset)) return page;
    page.Bytes.reset(new std::uint8_t[PageSize]);
    const std::size_t count = file.read(page.Bytes.get(), PageSize);
    if (count == 0 || count > PageSize) {
        page.release();
        return page;
    }
    page.Length = static_cast<std::uint32_t>(count);
    if (count < PageSize) std::memset(page.Bytes.get() + count, 0, PageSize - count);
    return page;
}

// Hands a page's block on and leaves the slot empty with length 0.
PageBuffer TakePage(PageBuffer& from) {
    PageBuffer taken;
    taken.Bytes = std::move(from.Bytes);
    taken.Length = taken.Bytes ? from.Length : 0;
    from.release();
    return taken;
}

// The size as measured now, clipped to the largest size we accept; the
// previous size when it cannot be measured. A file that grew past 2 GiB while
// open is treated as 2 GiB long: pages beyond it are never read.
std::uint64_t KnownSize(const std::optional<std::uint64_t>& measured, std::uint32_t previous) {
    if (!measured) return previous;
    return std::min<std::uint64_t>(*measured, MaxFileSize);
}

// FileSize as the held pages show it. Only the file's last page may be short,
// so a short last held page (or a next page that read nothing) marks the end
// of the file; otherwise the measured size stands, but never below the bytes
// actually held, so the caret and the scroll range always fit the pages.
// The result is at most 2 GiB: the held pages never reach past page 32767.
std::uint32_t ReconcileFileSize(std::uint64_t known, const PageWindow& w, bool endSeen) {
    const std::uint64_t held = PageStart(w.PageIndex) + w.CurrentPage.Length + w.NextPage.Length;
    const PageBuffer& last = w.NextPage.present() ? w.NextPage : w.CurrentPage;
    if (endSeen || last.Length < PageSize) return static_cast<std::uint32_t>(held);
    return static_cast<std::uint32_t>(std::max(known, held));
}

std::int32_t RowWidth(EditorState& s) {
    const std::int32_t n = BytesPerRow(s);
    return n > 0 ? n : 16;  // a zero-sized window must not divide by zero
}

void SetCaretCellOrigin(EditorState& s) {
    const int cell = CellWidth(s.settings.FontCell);
    s.CaretX = (s.grid.caretColumn + AddressCells) * cell;
    s.CaretY = s.grid.caretRow * CellHeight(s.settings.FontCell);
}

// After a shift the caret keeps its screen row and column. When that cell
// holds no byte (past the end of the file, or of a next page that is shorter
// than the screen assumes) the caret moves back onto the last held byte and
// takes that byte's cell, so it is always on a byte of the file.
void SettleCaretAfterShift(EditorState& s, std::int32_t n) {
    ScreenGrid& g = s.grid;
    g.caretRow = std::max(g.caretRow, 0);
    g.caretColumn = std::clamp(g.caretColumn, 0, n - 1);
    const PageBuffer& current = s.pages.CurrentPage;
    const PageBuffer& next = s.pages.NextPage;
    const std::int64_t offset =
        static_cast<std::int64_t>(s.TopOffset) + static_cast<std::int64_t>(g.caretRow) * n + g.caretColumn;

    if (offset < current.Length) {
        s.CaretPage = PageSlot::Current;
        s.CaretOffset = static_cast<std::int32_t>(offset);
    } else if (next.present() && offset - PageSize < next.Length) {
        s.CaretPage = PageSlot::Next;
        s.CaretOffset = static_cast<std::int32_t>(offset - PageSize);
    } else {
        std::int64_t last;  // the last held byte, counted from the current page's start
        if (next.present()) {
            s.CaretPage = PageSlot::Next;
            s.CaretOffset = static_cast<std::int32_t>(next.Length) - 1;
            last = PageSize + s.CaretOffset;
        } else {
            s.CaretPage = PageSlot::Current;
            s.CaretOffset = static_cast<std::int32_t>(current.Length) - 1;
            last = s.CaretOffset;
        }
        const std::int64_t fromTop = last - s.TopOffset;
        g.caretRow = static_cast<std::int32_t>(fromTop / n);
        g.caretColumn = static_cast<std::int32_t>(fromTop % n);
    }
    SetCaretCellOrigin(s);
}

// The top row's offset within the current page: a multiple of the row width
// and on a byte of the page.
std::int32_t AlignTop(std::int64_t top, std::uint32_t pageLength, std::int32_t n) {
    top = std::clamp<std::int64_t>(top, 0, static_cast<std::int64_t>(pageLength) - 1);
    return static_cast<std::int32_t>(top - top % n);
}

bool PathAcceptable(const std::string& path) {
    // A longer path cannot be held, and an embedded zero would open a shorter one.
    return !path.empty() && path.size() <= MaxPathLength && path.find('\0') == std::string::npos;
}

void ShowOpenFailure(EditorState& s, const std::string& path) {
    // The path is shown in full, however long; the text is built, not formatted into a buffer.
    ShowError(s, "Error opening file: " + path);
}

void RefreshIndexAfterOpen(EditorState& s) {
    DiscardLineIndex(s);
    if (!s.TextViewOn) return;
    if (s.pages.FileSize > TextViewLimit)
        s.TextViewOn = 0;  // the data window falls back to the hex view
    else
        BuildLineIndex(s);
}

void ResetViewToPageStart(EditorState& s) {
    s.ScreenPage = PageSlot::Current;
    s.CaretPage = PageSlot::Current;
    s.CaretOffset = 0;
    s.TopOffset = 0;
    s.grid.caretColumn = 0;
    s.grid.caretRow = 0;
    SetCaretCellOrigin(s);
    PlaceCaret(s);
}

void ShowOpenedDocument(EditorState& s) {
    s.grid.clear();
    s.grid.init(BytesPerRow(s) + AddressCells, ScreenRows(s));
    FillScreenGrid(s);
    SetupScrollBar(s, true);
    s.UI().invalidateData(true);
    LayoutStatusParts(s, true);
    ShowFileSize(s);
    ShowCaretAddress(s);
    s.UI().showCaret();
    s.UI().setSearchCommandsEnabled(true);
}

// After either shift: the screen starts in the new current page at `top`
// (rounded to a row), and the caret keeps its screen row and column.
void SettleViewAfterShift(EditorState& s, std::int64_t top) {
    const std::int32_t n = RowWidth(s);
    s.ScreenPage = PageSlot::Current;
    s.TopOffset = AlignTop(top, s.pages.CurrentPage.Length, n);
    SettleCaretAfterShift(s, n);
    if (s.TextViewOn) SetupScrollBar(s, false);
}

}  // namespace


bool OpenDocument(EditorState& s, const std::string& path, std::uint32_t pageIndex) {
    if (!PathAcceptable(path)) {
        ShowOpenFailure(s, path);
        return false;
    }
    std::unique_ptr<OpenFile> file = s.Files().open(path, OpenMode::Read);
    if (!file) {
        // The held document, if any, stays as it was, with its own path.
        ShowOpenFailure(s, path);
        return false;
    }

    const std::optional<std::uint64_t> size = file->size();
    if (size && *size == 0) {
        file->close();
        CloseDocument(s);
        ShowError(s, "Size of opened file equals 0. File closed!");
        return false;
    }
    if (!size || *size > MaxFileSize) {
        // Measured in 64 bits, so a larger file is never taken for a small one.
        file->close();
        CloseDocument(s);
        ShowError(s, "This version cannot edit files greater than 2 gigabytes. File closed.");
        return false;
    }

    // The new pages are read before the held ones are let go, so a page that
    // reads nothing leaves the held document exactly as it was.
    const std::uint64_t start = PageStart(pageIndex);
    PageBuffer current;
    if (start < *size) current = ReadPage(*file, start);
    if (!current.present()) {
        file->close();
        return false;
    }
    PageBuffer next;
    bool endSeen = current.Length < PageSize;
    if (!endSeen && *size > start + PageSize && pageIndex + 1 < PageCountLimit) {
        next = ReadPage(*file, start + PageSize);
        endSeen = !next.present();
    }
    PageBuffer previous;
    if (pageIndex > 0) {
        previous = ReadPage(*file, PageStart(pageIndex - 1));
        if (previous.Length != PageSize) {
            // The file changed under us between the reads: a page before the
            // current one must be whole. Nothing is taken over.
            file->close();
            return false;
        }
    }
    file->close();

    PageWindow& w = s.pages;
    w.PrevPage = std::move(previous);
    w.CurrentPage = std::move(current);
    w.NextPage = std::move(next);
    w.PageIndex = pageIndex;
    w.FileSize = ReconcileFileSize(*size, w, endSeen);
    // The path moves with the pages at once: the line index below reads the
    // file by this path, and so does every later load, save and revert.
    w.DocumentPath = path;

    RefreshIndexAfterOpen(s);
    s.Modified = 0;
    ResetViewToPageStart(s);
    ShowOpenedDocument(s);
    s.UI().setTitle(path);
    return true;
}

void CloseDocument(EditorState& s) {
    PageWindow& w = s.pages;
    w.PageIndex = 0;
    w.FileSize = 0;
    s.CaretPage = PageSlot::None;
    s.CaretOffset = 0;
    s.ScreenPage = PageSlot::None;
    s.TopOffset = 0;
    s.CaretX = 0;
    s.CaretY = 0;
    w.CurrentPage.release();
    w.PrevPage.release();
    w.NextPage.release();
    PlaceCaret(s);
    s.grid.clear();
    SetupScrollBar(s, false);
    s.UI().invalidateData(true);
    w.DocumentPath = "Vop";
    s.UI().setTitle("Vop");
    LayoutStatusParts(s, false);
    s.UI().setStatusText(0, "");
    s.UI().hideCaret();
    s.UI().setSearchCommandsEnabled(false);
}

bool LoadNextPage(EditorState& s, std::int32_t t) {
    PageWindow& w = s.pages;
    if (!s.documentOpen() || !w.NextPage.present()) return false;
    if (!PromptSavePage(s)) return false;  // the unsaved pages stay held

    std::unique_ptr<OpenFile> file = s.Files().open(w.DocumentPath, OpenMode::Read);
    if (!file) {
        ShowError(s, "Error reading file!");
        return false;
    }
    const std::uint32_t newIndex = w.PageIndex + 1;
    const std::uint64_t known = KnownSize(file->size(), w.FileSize);
    if (known <= PageStart(newIndex)) {
        // The file shrank below the page that would become current: its held
        // bytes are no longer in the file, so the window stays where it is.
        file->close();
        ShowError(s, "Error reading file!");
        return false;
    }
    PageBuffer next;
    bool endSeen = w.NextPage.Length < PageSize;
    const std::uint64_t nextStart = PageStart(newIndex + 1);
    if (!endSeen && known > nextStart && newIndex + 1 < PageCountLimit) {
        next = ReadPage(*file, nextStart);
        endSeen = !next.present();
    }
    file->close();

    w.PrevPage = TakePage(w.CurrentPage);
    w.CurrentPage = TakePage(w.NextPage);
    w.NextPage = std::move(next);
    w.PageIndex = newIndex;
    w.FileSize = ReconcileFileSize(known, w, endSeen);

    SettleViewAfterShift(s, t);
    return true;
}

bool LoadPreviousPage(EditorState& s, std::int32_t d) {
    PageWindow& w = s.pages;
    if (!s.documentOpen() || !w.PrevPage.present() || w.PageIndex == 0) return false;
    if (!PromptSavePage(s)) return false;

    std::unique_ptr<OpenFile> file = s.Files().open(w.DocumentPath, OpenMode::Read);
    if (!file) {
        ShowError(s, "Error opening file!");
        return false;
    }
    const std::uint32_t newIndex = w.PageIndex - 1;
    const std::uint64_t known = KnownSize(file->size(), w.FileSize);
    PageBuffer previous;
    bool shrank = known <= PageStart(newIndex);
    if (!shrank && newIndex > 0) {
        previous = ReadPage(*file, PageStart(newIndex - 1));
        // Every page before the current one is whole; a short one means the
        // file shrank below the held pages.
        shrank = previous.Length != PageSize;
    }
    file->close();
    if (shrank) {
        ShowError(s, "Error reading file!");
        return false;
    }

    w.NextPage = TakePage(w.CurrentPage);
    w.CurrentPage = TakePage(w.PrevPage);
    w.PrevPage = std::move(previous);
    w.PageIndex = newIndex;
    w.FileSize = ReconcileFileSize(known, w, false);

    SettleViewAfterShift(s, PageSize - std::clamp<std::int64_t>(d, 1, PageSize));
    return true;
}

}  // namespace vop
