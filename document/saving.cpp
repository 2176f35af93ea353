#include "document/saving.h"

#include <cstdint>
#include <cstring>

#include "document/error_box.h"
#include "document/line_index.h"

namespace vop {
namespace {

constexpr const char* SavePageQuestion = "Part of the file was modified. Save changes?";
constexpr const char* SaveFileQuestion = "File has been modified. Save changes?";

enum class WriteFailure { None, Seek, Write };

WriteFailure WritePage(OpenFile& file, std::uint64_t offset, const PageBuffer& page) {
    if (!file.seek(offset)) return WriteFailure::Seek;
    if (file.write(page.Bytes.get(), page.Length) != page.Length) return WriteFailure::Write;
    return WriteFailure::None;
}

// Reads the page's length at `offset` into a copy of its block, or nothing
// when the file no longer holds all of it (it shrank under the page).
std::unique_ptr<std::uint8_t[]> ReadBack(OpenFile& file, std::uint64_t offset, const PageBuffer& page) {
    auto copy = std::make_unique<std::uint8_t[]>(PageSize);
    std::memcpy(copy.get(), page.Bytes.get(), PageSize);
    std::size_t count = 0;
    if (file.seek(offset)) {
        while (count < page.Length) {
            const std::size_t got = file.read(copy.get() + count, page.Length - count);
            if (got == 0 || got > page.Length - count) break;
            count += got;
        }
    }
    if (count != page.Length) copy.reset();
    return copy;
}

// The user dropped the changes: the held pages become the file's bytes again.
bool DropChanges(EditorState& s) {
    s.Modified = 0;
    if (RevertPages(s)) return true;
    s.Modified = 1;  // the dropped bytes are still held: never let them pass for the file's own
    return false;
}

// Writes the current page, and the next one with `withNext`, when they hold
// changes. The file is opened even when nothing needs writing, so that a save
// of a file that cannot be written says so.
bool WriteChangedPages(EditorState& s, bool withNext) {
    if (!s.documentOpen()) return true;  // nothing held, nothing to lose
    PageWindow& w = s.pages;
    std::unique_ptr<OpenFile> file = s.Files().open(w.DocumentPath, OpenMode::Update);
    if (!file) {
        ShowError(s, "Error opening file for writing!");
        return false;
    }

    // A held page the file no longer holds whole (another program cut it) is
    // written too: the next page written alone after a cut in the current one
    // would leave zeros where the screen shows the current page's bytes.
    // (A replace-all run, which writes the current page alone as it moves on,
    // sees a cut at its next shift.)
    const std::uint64_t size = withNext ? file->size().value_or(UINT64_MAX) : UINT64_MAX;
    const auto mustWrite = [&](const PageBuffer& page, std::uint32_t index) {
        return page.present() && (page.Changed || size < PageStart(index) + page.Length);
    };
    // Current page first, then the next page. A failure after the first write
    // leaves the current page written and the next not; both stay marked
    // changed and Modified stays 1, so a later save writes both again.
    WriteFailure failure = WriteFailure::None;
    if (mustWrite(w.CurrentPage, w.PageIndex)) failure = WritePage(*file, PageStart(w.PageIndex), w.CurrentPage);
    const bool next = withNext && mustWrite(w.NextPage, w.PageIndex + 1);
    if (failure == WriteFailure::None && next) failure = WritePage(*file, PageStart(w.PageIndex + 1), w.NextPage);
    if (failure != WriteFailure::None) {
        file->close();
        ShowError(s, failure == WriteFailure::Seek ? "Error seeking in file!" : "Error writing file!");
        return false;
    }
    // Buffered bytes reach the file only when it is closed (flushed, within a
    // replace-all run that keeps it open): a failing close is a failed write.
    if (!file->close()) {
        ShowError(s, "Error writing file!");
        return false;
    }
    w.CurrentPage.Changed = false;
    if (withNext) w.NextPage.Changed = false;
    s.Modified = w.NextPage.Changed ? 1 : 0;
    return true;
}

}  // namespace

bool SaveDocument(EditorState& s) { return WriteChangedPages(s, true); }

bool SaveCurrentPage(EditorState& s) { return !s.pages.CurrentPage.Changed || WriteChangedPages(s, false); }

bool PromptSavePage(EditorState& s, BoxOwner owner) {
    if (!s.documentOpen() || !s.Modified) return true;
    if (s.ReplaceAllRunning && s.ReplaceAllSaveAgreed) return SaveDocument(s);
    if (s.UI().messageBox(owner, SavePageQuestion, "Warning", BoxButtons::YesNo) == BoxAnswer::Yes) {
        if (!SaveDocument(s)) return false;
        if (s.ReplaceAllRunning) s.ReplaceAllSaveAgreed = 1;
        return true;
    }
    if (s.ReplaceAllRunning) s.ReplaceAllDeclined = 1;
    return DropChanges(s);
}

bool RevertPages(EditorState& s) {
    PageWindow& w = s.pages;
    if (!s.documentOpen()) return true;
    std::unique_ptr<OpenFile> file = s.Files().open(w.DocumentPath, OpenMode::Read);
    if (!file) {
        ShowError(s, "Error opening file!");
        return false;
    }
    // All or nothing: a page the file no longer holds whole keeps every held
    // byte, the changes included, rather than a mix of the two.
    auto current = ReadBack(*file, PageStart(w.PageIndex), w.CurrentPage);
    auto next = w.NextPage.present() ? ReadBack(*file, PageStart(w.PageIndex + 1), w.NextPage) : nullptr;
    file->close();
    if (!current || (w.NextPage.present() && !next)) {
        ShowError(s, "Error reading file!");
        return false;
    }
    w.CurrentPage.Bytes = std::move(current);
    w.CurrentPage.Changed = false;
    if (next) w.NextPage.Bytes = std::move(next);
    w.NextPage.Changed = false;

    DiscardLineIndex(s);
    if (s.TextViewOn) BuildLineIndex(s);
    return true;
}

int PromptSaveFile(EditorState& s) {
    if (!s.documentOpen() || !s.Modified) return 0;
    switch (s.UI().messageBox(BoxOwner::MainWindow, SaveFileQuestion, "Save file", BoxButtons::YesNoCancel)) {
        case BoxAnswer::Cancel: return -1;
        // A failed save keeps the document: the command stops as if cancelled.
        case BoxAnswer::Yes: return SaveDocument(s) ? 0 : -1;
        default: DropChanges(s); return 0;  // No
    }
}

void CheckWritable(EditorState& s) {
    if (s.pages.FileSize == 0) return;
    std::unique_ptr<OpenFile> file = s.Files().open(s.pages.DocumentPath, OpenMode::Update);
    if (file) {
        file->close();
        return;
    }
    s.UI().messageBox(BoxOwner::MainWindow,
                      "File " + s.pages.DocumentPath +
                          " has been opened as read only. Any attempt of modifying it will fail!",
                      "Read Only File", BoxButtons::Ok);
}

}  // namespace vop
