#include "document/page_loading.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "document/error_box.h"
#include "files/unicode_text.h"

namespace vop {
namespace {

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

// Hands a page's block on, with its changes, and leaves the slot empty with length 0.
PageBuffer TakePage(PageBuffer& from) {
    PageBuffer taken;
    taken.Bytes = std::move(from.Bytes);
    taken.Length = taken.Bytes ? from.Length : 0;
    taken.Changed = taken.Bytes && from.Changed;
    from.release();
    return taken;
}

// The size as measured now, clipped to the largest size accepted; the
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

bool PathAcceptable(const std::string& path) {
    // A longer path cannot be held, and an embedded zero would open a shorter one.
    return !path.empty() && Utf16Length(path) <= MaxPathLength && path.find('\0') == std::string::npos;
}

}  // namespace

LoadOutcome LoadPageWindow(EditorState& s, const std::string& path, std::uint32_t pageIndex) {
    if (!PathAcceptable(path)) return LoadOutcome::CannotOpen;
    std::unique_ptr<OpenFile> file = s.Files().open(path, OpenMode::Read);
    if (!file) return LoadOutcome::CannotOpen;

    // Measured in 64 bits, so a larger file is never taken for a small one.
    const std::optional<std::uint64_t> size = file->size();
    if (size && *size == 0) return LoadOutcome::EmptyFile;
    if (!size || *size > MaxFileSize) return LoadOutcome::TooLarge;

    // The new pages are read before the held ones are let go, so a page that
    // reads nothing leaves the held document exactly as it was.
    const std::uint64_t start = PageStart(pageIndex);
    PageBuffer current;
    if (start < *size) current = ReadPage(*file, start);
    if (!current.present()) return LoadOutcome::NothingAtPage;
    PageBuffer next;
    bool endSeen = current.Length < PageSize;
    if (!endSeen && *size > start + PageSize && pageIndex + 1 < PageCountLimit) {
        next = ReadPage(*file, start + PageSize);
        endSeen = !next.present();
    }
    PageBuffer previous;
    if (pageIndex > 0) {
        // Every page before the current one is whole; a short one means the
        // file shrank between the reads. Nothing is taken over.
        previous = ReadPage(*file, PageStart(pageIndex - 1));
        if (previous.Length != PageSize) return LoadOutcome::NothingAtPage;
    }
    file->close();

    PageWindow& w = s.pages;
    w.PrevPage = std::move(previous);
    w.CurrentPage = std::move(current);
    w.NextPage = std::move(next);
    w.PageIndex = pageIndex;
    w.FileSize = ReconcileFileSize(*size, w, endSeen);
    // The path moves with the pages at once: every later load, save, revert
    // and index build reads the file by this path.
    w.DocumentPath = path;
    return LoadOutcome::Loaded;
}

void ReleasePages(PageWindow& w) {
    w.PrevPage.release();
    w.CurrentPage.release();
    w.NextPage.release();
}

bool ShiftPagesForward(EditorState& s, SizeCheck check) {
    PageWindow& w = s.pages;
    constexpr const char* Failure = "Error reading file!";
    std::unique_ptr<OpenFile> file = s.Files().open(w.DocumentPath, OpenMode::Read);
    if (!file) {
        ShowError(s, Failure);
        return false;
    }
    const std::uint32_t newIndex = w.PageIndex + 1;
    const std::uint64_t nextStart = PageStart(newIndex + 1);
    PageBuffer next;
    bool endSeen = w.NextPage.Length < PageSize;
    const bool mayRead = !endSeen && newIndex + 1 < PageCountLimit;
    std::optional<std::uint64_t> known;
    if (check == SizeCheck::WhenReadShort && mayRead) {
        // A whole page after the next shows that the file still holds every
        // held page and goes on past them: the size known stands, raised to
        // the bytes held. Anything less is read again after measuring.
        next = ReadPage(*file, nextStart);
        if (next.Length == PageSize) known = w.FileSize;
        else next.release();
    }
    if (!known) {
        known = KnownSize(file->size(), w.FileSize);
        if (*known <= PageStart(newIndex)) {
            // The file shrank below the page that would become current: its
            // held bytes are no longer in the file, so the window stays where it is.
            ShowError(s, Failure);
            return false;
        }
        if (mayRead && *known > nextStart) {
            next = ReadPage(*file, nextStart);
            endSeen = !next.present();
        }
    }
    file->close();

    w.PrevPage = TakePage(w.CurrentPage);
    w.CurrentPage = TakePage(w.NextPage);
    w.NextPage = std::move(next);
    w.PageIndex = newIndex;
    w.FileSize = ReconcileFileSize(*known, w, endSeen);
    return true;
}

bool ShiftPagesBack(EditorState& s) {
    PageWindow& w = s.pages;
    constexpr const char* Failure = "Error opening file!";
    std::unique_ptr<OpenFile> file = s.Files().open(w.DocumentPath, OpenMode::Read);
    if (!file) {
        ShowError(s, Failure);
        return false;
    }
    const std::uint32_t newIndex = w.PageIndex - 1;
    const std::uint64_t known = KnownSize(file->size(), w.FileSize);
    // Every page before the current one is whole; a short one, or a file that
    // ends before the page that would become current, means the file shrank
    // below the held pages.
    bool shrank = known <= PageStart(newIndex);
    PageBuffer previous;
    if (!shrank && newIndex > 0) {
        previous = ReadPage(*file, PageStart(newIndex - 1));
        shrank = previous.Length != PageSize;
    }
    file->close();
    if (shrank) {
        ShowError(s, Failure);
        return false;
    }

    w.NextPage = TakePage(w.CurrentPage);
    w.CurrentPage = TakePage(w.PrevPage);
    w.PrevPage = std::move(previous);
    w.PageIndex = newIndex;
    w.FileSize = ReconcileFileSize(known, w, false);
    return true;
}

}  // namespace vop
