#include "dialogs/goto_address.h"

#include "app/status_text.h"
#include "document/page_window.h"
#include "document/saving.h"
#include "view/caret_navigation.h"
#include "view/screen_layout.h"
#include "view/view_position.h"

namespace vop {

namespace {

// Changes in the held pages are saved or dropped before the window leaves
// them. Returns false when the user asked to save and the save failed: the
// unsaved pages must then stay held.
bool SettleChangesBeforeLeaving(EditorState& s, BoxOwner owner) {
    if (!s.Modified) return true;
    if (s.ReplaceAllRunning && s.ReplaceAllSaveAgreed) return SaveDocument(s);
    const BoxAnswer answer =
        s.UI().messageBox(owner, "Part of the file was modified. Save changes?", "Warning", BoxButtons::YesNo);
    if (answer == BoxAnswer::Yes) {
        if (!SaveDocument(s)) return false;
        // Later page changes of the same replace-all run save without asking.
        if (s.ReplaceAllRunning) s.ReplaceAllSaveAgreed = 1;
        return true;
    }
    s.Modified = 0;
    RevertPages(s);
    if (s.ReplaceAllRunning) s.ReplaceAllDeclined = 1;
    return true;
}

}  // namespace

bool GotoAddress(EditorState& s, std::uint32_t address, BoxOwner owner, bool erase) {
    if (address >= s.pages.FileSize || !s.documentOpen()) {
        s.UI().messageBox(owner, "Specified address is greater than filesize!", "Forget it", BoxButtons::Ok);
        return false;
    }
    const std::uint32_t targetPage = address / PageSize;
    if (targetPage != s.pages.PageIndex && !SettleChangesBeforeLeaving(s, owner)) return false;

    const std::int32_t n = BytesPerRow(s);
    const std::int32_t rows = ScreenRows(s);
    if (TotalRows(s.pages.FileSize, n) <= static_cast<std::uint32_t>(rows) && s.pages.PageIndex == 0 &&
        address < s.pages.CurrentPage.Length) {
        // The whole file is on the screen: only the caret moves.
        if (s.TopOffset != 0) {
            s.TopOffset = 0;
            RefreshView(s, erase);
        }
        s.ScreenPage = PageSlot::Current;
        s.CaretPage = PageSlot::Current;
        s.CaretOffset = static_cast<std::int32_t>(address);
        SetCaretCell(s, static_cast<std::int32_t>(address) / n, static_cast<std::int32_t>(address) % n);
        PlaceCaret(s);
        ShowCaretAddress(s);
        return true;
    }

    if (targetPage != s.pages.PageIndex) {
        // Reload the window around the target's page. When that fails the old
        // pages stay, and the caret must not land on a byte of the wrong page.
        const std::string path = s.pages.DocumentPath;
        if (!OpenDocument(s, path, targetPage) || s.pages.PageIndex != targetPage) return false;
    }
    const std::int32_t o = static_cast<std::int32_t>(address % PageSize);
    // The file may have shrunk on disk since its size was measured.
    if (static_cast<std::uint32_t>(o) >= s.pages.CurrentPage.Length) return false;

    const std::int32_t column = o % n;
    s.ScreenPage = PageSlot::Current;
    s.CaretPage = PageSlot::Current;
    s.TopOffset = o - column;
    s.CaretOffset = o;
    SetCaretCell(s, 0, column);
    PlaceCaret(s);
    RefreshView(s, erase);
    SyncScrollPosition(s);
    ShowCaretAddress(s);
    return true;
}

}  // namespace vop
