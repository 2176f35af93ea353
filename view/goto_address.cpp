#include "view/goto_address.h"

#include "document/saving.h"
#include "view/caret_navigation.h"
#include "view/document_view.h"
#include "view/screen_layout.h"
#include "view/status_text.h"
#include "view/view_position.h"

namespace vop {
namespace {

bool RefuseAddress(EditorState& s, BoxOwner owner) {
    s.UI().messageBox(owner, "Specified address is greater than filesize!", "Forget it", BoxButtons::Ok);
    return false;
}

}  // namespace

bool GotoAddress(EditorState& s, std::uint32_t address, BoxOwner owner) {
    if (address >= s.pages.FileSize || !s.documentOpen()) return RefuseAddress(s, owner);
    const std::uint32_t targetPage = address / PageSize;
    if (targetPage != s.pages.PageIndex && !PromptSavePage(s, owner)) return false;

    const std::int32_t n = BytesPerRow(s);
    const std::int32_t rows = ScreenRows(s);
    if (TotalRows(s.pages.FileSize, n) <= static_cast<std::uint32_t>(rows) && s.pages.PageIndex == 0 &&
        address < s.pages.CurrentPage.Length) {
        // The whole file is on the screen: only the caret moves.
        if (s.TopOffset != 0) {
            s.TopOffset = 0;
            RefreshView(s);
        }
        s.ScreenPage = PageSlot::Current;
        SetCaretByte(s, address, n);
        PlaceCaret(s);
        ShowCaretAddress(s);
        return true;
    }

    if (targetPage != s.pages.PageIndex) {
        // Reload the window around the target's page. When that fails the old
        // pages stay (read back from the file if the user dropped their
        // changes), and the caret must not land on a byte of the wrong page.
        const std::string path = s.pages.DocumentPath;
        const LoadOutcome outcome = OpenDocument(s, path, targetPage);
        if (outcome != LoadOutcome::Loaded) {
            RefreshView(s);
            // The file shrank below the target since its size was measured.
            return outcome == LoadOutcome::NothingAtPage ? RefuseAddress(s, owner) : false;
        }
    }
    const std::int32_t o = static_cast<std::int32_t>(address % PageSize);
    // The file may have shrunk within the target's page: the reload has shown
    // its new size, and the caret stays on the page's first byte.
    if (static_cast<std::uint32_t>(o) >= s.pages.CurrentPage.Length) return RefuseAddress(s, owner);

    const std::int32_t column = o % n;
    s.ScreenPage = PageSlot::Current;
    s.TopOffset = o - column;
    SetCaretByte(s, o, n);
    PlaceCaret(s);
    RefreshView(s);
    SyncScrollPosition(s);
    ShowCaretAddress(s);
    return true;
}

}  // namespace vop
