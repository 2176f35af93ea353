// The data window's keys, wheel, clicks and scroll bar requests.
#include "view/data_window_input.h"

#include "app/status_text.h"
#include "dialogs/goto_address.h"
#include "document/line_index.h"
#include "search/find_next.h"
#include "view/caret_navigation.h"
#include "view/cell_metrics.h"
#include "view/screen_layout.h"

namespace vop {

namespace {

constexpr int TextViewRefusedHz = 4400;
constexpr int TextViewRefusedMs = 90;

bool EraseOnScroll(const EditorState& s) {
    // Hex font type leaves the cells past the end undrawn, so scrolls must
    // erase the background first.
    return s.settings.FontType == 1;
}

void FindNextFromKeys(EditorState& s) {
    if (s.FindPatternLength == 0) {
        s.UI().openDialog(DialogKind::Find);
        return;
    }
    const int result = FindNext(s, s.FindPattern.data(), s.FindPatternLength, BoxOwner::DataWindow);
    if (result == 0) s.UI().messageBox(BoxOwner::DataWindow, "Sequence not found!", "Find", BoxButtons::Ok);
}

void EnterTextView(EditorState& s) {
    s.TextViewOn = 1;
    s.UI().hideCaret();
    if (!s.lines.built()) BuildLineIndex(s);
    s.settings.FontType = 0;
    LocateTopLine(s);
    SetupScrollBar(s, true);
    s.UI().invalidateData(true);
}

void NextViewMode(EditorState& s) {
    if (s.TextViewOn) {
        LeaveTextView(s);
        return;
    }
    if (s.settings.FontType == 0) {
        s.settings.FontType = 1;
        s.UI().invalidateData(true);
        return;
    }
    if (s.pages.FileSize > TextViewLimit) {
        s.UI().beep(TextViewRefusedHz, TextViewRefusedMs);
        s.settings.FontType = 0;
        s.UI().invalidateData(true);
        return;
    }
    EnterTextView(s);
}

void HexViewKey(EditorState& s, int key, KeyModifiers mods) {
    const bool erase = EraseOnScroll(s);
    switch (key) {
        case Key::Enter: s.UI().openDialog(DialogKind::ModifyByte); break;
        case Key::PageUp: PageUp(s, erase); SyncScrollPosition(s); break;
        case Key::PageDown: PageDown(s, erase); SyncScrollPosition(s); break;
        case Key::End: MoveRowEnd(s); break;
        case Key::Home: MoveRowStart(s); break;
        case Key::Left:
            if (mods.scrollLock) {
                GotoAddress(s, 0, BoxOwner::DataWindow, erase);
            } else {
                MoveLeft(s, erase);
            }
            SyncScrollPosition(s);
            break;
        case Key::Right:
            if (mods.scrollLock) {
                GotoAddress(s, s.pages.FileSize - 1, BoxOwner::DataWindow, erase);
            } else {
                MoveRight(s, erase);
            }
            SyncScrollPosition(s);
            break;
        case Key::Up:
            if (mods.scrollLock) {
                ScrollLineUp(s, erase);
            } else {
                MoveUp(s, erase);
            }
            SyncScrollPosition(s);
            break;
        case Key::Down:
            if (mods.scrollLock) {
                ScrollLineDown(s, erase);
            } else {
                MoveDown(s, erase);
            }
            SyncScrollPosition(s);
            break;
        case Key::F3: FindNextFromKeys(s); break;
        case Key::F4: NextViewMode(s); break;
        case Key::F5: s.UI().openDialog(DialogKind::GotoAddress); break;
        case Key::F7:
            if (mods.ctrl) {
                s.UI().openDialog(DialogKind::Replace);
            } else if (mods.shift) {
                FindNextFromKeys(s);
            } else {
                s.UI().openDialog(DialogKind::Find);
            }
            break;
        default: break;
    }
}

void TextViewKey(EditorState& s, int key, KeyModifiers mods) {
    const bool erase = EraseOnScroll(s);
    switch (key) {
        case Key::Enter: s.UI().openDialog(DialogKind::ModifyByte); break;
        case Key::PageUp: PageUp(s, erase); SyncScrollPosition(s); break;
        case Key::PageDown: PageDown(s, erase); SyncScrollPosition(s); break;
        case Key::End: ScrollTextRight(s, BytesPerRow(s)); break;
        case Key::Home: ScrollTextLeft(s, BytesPerRow(s)); break;
        case Key::Left: ScrollTextLeft(s, 1); break;
        case Key::Right: ScrollTextRight(s, 1); break;
        case Key::Up: ScrollLineUp(s, erase); SyncScrollPosition(s); break;
        case Key::Down: ScrollLineDown(s, erase); SyncScrollPosition(s); break;
        case Key::F3:
            if (s.FindPatternLength != 0) {
                LeaveTextView(s);
                FindNextFromKeys(s);
            } else {
                s.UI().openDialog(DialogKind::Find);
            }
            break;
        case Key::F4: NextViewMode(s); break;
        case Key::F7:
            if (mods.ctrl) break;
            if (mods.shift) {
                FindNextFromKeys(s);
            } else {
                s.UI().openDialog(DialogKind::Find);
            }
            break;
        default: break;
    }
}

}  // namespace

CaretShape DataCaretShape(const Settings& settings) {
    const int cw = CellWidth(settings.FontCell);
    if (settings.BlockCaret) return {cw, CellHeight(settings.FontCell)};
    return {cw, settings.FontCell + 1};
}

void LeaveTextView(EditorState& s) {
    s.TextViewOn = 0;
    s.UI().showCaret();
    ReturnToHexView(s);
    SetupScrollBar(s, true);
    // The hex view must replace the lines on the screen even when the search
    // that follows (F3) finds nothing and repaints nothing.
    s.UI().invalidateData(true);
}

void DataWindowKeyDown(EditorState& s, int virtualKey, KeyModifiers mods) {
    if (!s.documentOpen()) return;
    if ((virtualKey == Key::Digit0 || virtualKey == Key::Numpad0) && mods.ctrl) {
        // Ctrl+0 produces no character: it is how a 0x00 byte is typed.
        if (s.settings.FontType == 0) {
            WriteByteUnderCaret(s, 0x00);
            MoveRight(s, false);
            SyncScrollPosition(s);
        }
    } else if (virtualKey == Key::L && mods.ctrl) {
        FindNextFromKeys(s);
    } else if (s.TextViewOn) {
        TextViewKey(s, virtualKey, mods);
    } else {
        HexViewKey(s, virtualKey, mods);
    }
    PlaceCaret(s);
    ShowCaretAddress(s);
}

void DataWindowWheel(EditorState& s, int delta) {
    if (!s.documentOpen()) return;
    // One row per message, whatever the distance.
    if (delta > 0) {
        ScrollLineUp(s, EraseOnScroll(s));
    } else if (delta < 0) {
        ScrollLineDown(s, EraseOnScroll(s));
    }
    PlaceCaret(s);
    SyncScrollPosition(s);
    ShowCaretAddress(s);
}

void DataWindowClick(EditorState& s, int x, int y) {
    if (s.ScreenPage == PageSlot::None || !s.documentOpen()) return;
    PlaceCaretAtClick(s, x, y);
}

void DataWindowDoubleClick(EditorState& s, int x, int y) {
    if (s.ScreenPage == PageSlot::None || !s.documentOpen()) return;
    if (PlaceCaretAtClick(s, x, y)) s.UI().openDialog(DialogKind::ModifyByte);
}

void DataWindowScroll(EditorState& s, int request, std::int32_t trackPosition) {
    const bool erase = EraseOnScroll(s);
    switch (request) {
        case ScrollRequest::LineUp: ScrollLineUp(s, erase); break;
        case ScrollRequest::LineDown: ScrollLineDown(s, erase); break;
        case ScrollRequest::PageUp: PageUp(s, erase); break;
        case ScrollRequest::PageDown: PageDown(s, erase); break;
        case ScrollRequest::ThumbPosition: ScrollToThumb(s, ThumbKind::Released, trackPosition); break;
        case ScrollRequest::ThumbTrack: ScrollToThumb(s, ThumbKind::Tracking, trackPosition); break;
        default: break;
    }
    // Without a document there is no caret address to show; the status bar
    // keeps its one empty part.
    if (!s.documentOpen()) return;
    PlaceCaret(s);
    SyncScrollPosition(s);
    ShowCaretAddress(s);
}

void DataWindowResized(EditorState& s) {
    if (!s.documentOpen()) return;
    Relayout(s);
    PlaceCaret(s);
    SetupScrollBar(s, true);
    s.UI().invalidateData(true);
}

bool DataCaretVisible(const EditorState& s) { return s.documentOpen() && !s.TextViewOn; }

}  // namespace vop
