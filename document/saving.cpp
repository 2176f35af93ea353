#include "document/saving.h"

#include "document/line_index.h"

namespace vop {
namespace {

constexpr const char* SavePageQuestion = "Part of the file was modified. Save changes?";
constexpr const char* SaveFileQuestion = "File has been modified. Save changes?";

void ShowError(EditorState& s, const char* text) {
    s.UI().messageBox(BoxOwner::MainWindow, text, "Error", BoxButtons::Ok);
}

std::uint64_t PageStart(std::uint32_t pageIndex) { return static_cast<std::uint64_t>(pageIndex) * PageSize; }

enum class WriteFailure { None, Seek, Write };

WriteFailure WritePage(OpenFile& file, std::uint64_t offset, const PageBuffer& page) {
    if (!file.seek(offset)) return WriteFailure::Seek;
    if (file.write(page.Bytes.get(), page.Length) != page.Length) return WriteFailure::Write;
    return WriteFailure::None;
}

// Reads up to `length` bytes at `offset` straight into the page's block. A
// short read (the file shrank) keeps what was read and leaves the rest of the
// block untouched; nothing beyond the page's length is ever read.
void ReadBack(OpenFile& file, std::uint64_t offset, PageBuffer& page) {
    if (!page.present() || page.Length == 0) return;
    const std::uint32_t length = page.Length <= PageSize ? page.Length : PageSize;
    if (file.seek(offset)) file.read(page.Bytes.get(), length);
}

}  // namespace

bool SaveDocument(EditorState& s) {
    if (!s.documentOpen()) return true;  // nothing held, nothing to lose
    const PageWindow& w = s.pages;
    std::unique_ptr<OpenFile> file = s.Files().open(w.DocumentPath, OpenMode::Update);
    if (!file) {
        ShowError(s, "Error opening file for writing!");
        return false;
    }

    // Current page first, then the next page. A failure after the first write
    // leaves the current page written and the next not; Modified stays 1, so
    // the pages are still held and a later save writes both again.
    WriteFailure failure = WritePage(*file, PageStart(w.PageIndex), w.CurrentPage);
    if (failure == WriteFailure::None && w.NextPage.present())
        failure = WritePage(*file, PageStart(w.PageIndex + 1), w.NextPage);
    if (failure != WriteFailure::None) {
        file->close();
        ShowError(s, failure == WriteFailure::Seek ? "Error seeking in file!" : "Error writing file!");
        return false;
    }
    // Buffered bytes reach the file only when it is closed: a failing close is
    // a failed write.
    if (!file->close()) {
        ShowError(s, "Error writing file!");
        return false;
    }
    s.Modified = 0;
    return true;
}

bool PromptSavePage(EditorState& s, BoxOwner owner) {
    if (!s.documentOpen() || !s.Modified) return true;
    const BoxAnswer answer = s.UI().messageBox(owner, SavePageQuestion, "Warning", BoxButtons::YesNo);
    if (answer == BoxAnswer::Yes) return SaveDocument(s);
    s.Modified = 0;
    RevertPages(s);
    return true;
}

void RevertPages(EditorState& s) {
    PageWindow& w = s.pages;
    if (!s.documentOpen()) return;
    std::unique_ptr<OpenFile> file = s.Files().open(w.DocumentPath, OpenMode::Read);
    if (!file) {
        ShowError(s, "Error opening file!");
        return;
    }
    ReadBack(*file, PageStart(w.PageIndex), w.CurrentPage);
    ReadBack(*file, PageStart(w.PageIndex + 1), w.NextPage);
    file->close();

    DiscardLineIndex(s);
    if (s.TextViewOn) BuildLineIndex(s);
}

int PromptSaveFile(EditorState& s) {
    if (!s.documentOpen() || !s.Modified) return 0;
    switch (s.UI().messageBox(BoxOwner::MainWindow, SaveFileQuestion, "Save file", BoxButtons::YesNoCancel)) {
        case BoxAnswer::Cancel: return -1;
        // A failed save keeps the document: the command stops as if cancelled.
        case BoxAnswer::Yes: return SaveDocument(s) ? 0 : -1;
        case BoxAnswer::No: s.Modified = 0; return 0;
        case BoxAnswer::Ok: break;
    }
    return 0;
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
