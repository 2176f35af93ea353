// The data window's keys, wheel, clicks and scroll bar requests.
#include "app/data_window_input.h"

#include <algorithm>

#include "app/operation.h"
#include "search/sequence_search.h"
#include "state/cell_metrics.h"
#include "view/caret_byte.h"
#include "view/caret_navigation.h"
#include "view/goto_address.h"
#include "view/screen_layout.h"
#include "view/status_text.h"
#include "view/text_view.h"

namespace vop {
namespace {

constexpr int TextViewRefusedHz = 4400;
constexpr int TextViewRefusedMs = 90;

void FindNextFromKeys(EditorState& s) {
    if (s.FindPatternLength == 0) {
        WaitInDialog(s, DialogKind::Find, BoxOwner::DataWindow);
        return;
    }
    const int result = FindNext(s, s.FindPattern.data(), s.FindPatternLength, BoxOwner::DataWindow);
    if (result == 0) s.UI().messageBox(BoxOwner::DataWindow, "Sequence not found!", "Find", BoxButtons::Ok);
}

// F4: Ascii, then Hex, then the text view (refused above its size limit), then Ascii again.
void NextViewMode(EditorState& s) {
    if (s.TextViewOn) {
        LeaveTextView(s);
        return;
    }
    if (s.settings.FontType == 0) {
        s.settings.FontType = 1;
        s.UI().invalidateData();
        return;
    }
    s.settings.FontType = 0;
    if (s.pages.FileSize > TextViewLimit) {
        s.UI().beep(TextViewRefusedHz, TextViewRefusedMs);
        s.UI().invalidateData();
        return;
    }
    EnterTextView(s);
}

// F7 finds, Ctrl+F7 replaces (not in the text view), Shift+F7 finds again.
void SearchKey(EditorState& s, KeyModifiers mods) {
    if (mods.shortcut()) {
        if (!s.TextViewOn) WaitInDialog(s, DialogKind::Replace, BoxOwner::DataWindow);
    } else if (mods.shift) {
        FindNextFromKeys(s);
    } else {
        WaitInDialog(s, DialogKind::Find, BoxOwner::DataWindow);
    }
}

void HexViewKey(EditorState& s, int key, KeyModifiers mods) {
    switch (key) {
        case Key::Enter: WaitInDialog(s, DialogKind::ModifyByte, BoxOwner::DataWindow); return;
        case Key::End: MoveRowEnd(s); return;
        case Key::Home: MoveRowStart(s); return;
        case Key::F3: FindNextFromKeys(s); return;
        case Key::F5: WaitInDialog(s, DialogKind::GotoAddress, BoxOwner::DataWindow); return;
        case Key::PageUp: PageUp(s); break;
        case Key::PageDown: PageDown(s); break;
        case Key::Left:
            if (mods.scrollLock) {
                GotoAddress(s, 0, BoxOwner::DataWindow);
            } else {
                MoveLeft(s);
            }
            break;
        case Key::Right:
            if (mods.scrollLock) {
                GotoAddress(s, s.pages.FileSize - 1, BoxOwner::DataWindow);
            } else {
                MoveRight(s);
            }
            break;
        case Key::Up: mods.scrollLock ? ScrollLineUp(s) : MoveUp(s); break;
        case Key::Down: mods.scrollLock ? ScrollLineDown(s) : MoveDown(s); break;
        default: return;
    }
    SyncScrollPosition(s);
}

void TextViewKey(EditorState& s, int key) {
    switch (key) {
        case Key::Enter: WaitInDialog(s, DialogKind::ModifyByte, BoxOwner::DataWindow); return;
        case Key::End: ScrollTextRight(s, BytesPerRow(s)); return;
        case Key::Home: ScrollTextLeft(s, BytesPerRow(s)); return;
        case Key::Left: ScrollTextLeft(s, 1); return;
        case Key::Right: ScrollTextRight(s, 1); return;
        case Key::F3:
            if (s.FindPatternLength != 0) {
                LeaveTextView(s);
                FindNextFromKeys(s);
            } else {
                WaitInDialog(s, DialogKind::Find, BoxOwner::DataWindow);
            }
            return;
        case Key::PageUp: PageUp(s); break;
        case Key::PageDown: PageDown(s); break;
        case Key::Up: ScrollLineUp(s); break;
        case Key::Down: ScrollLineDown(s); break;
        default: return;
    }
    SyncScrollPosition(s);
}

// After any input: the caret where the view says, the address in the status bar.
void ShowCaret(EditorState& s) {
    PlaceCaret(s);
    ShowCaretAddress(s);
}

}  // namespace

CaretShape DataCaretShape(const Settings& settings) {
    const int cw = CellWidth(settings.FontCell);
    if (settings.BlockCaret) return {cw, CellHeight(settings.FontCell)};
    return {cw, settings.FontCell + 1};
}

void DataWindowKeyDown(EditorState& s, int virtualKey, KeyModifiers mods) {
    const Operation operation(s);
    if (operation.refused() || !s.documentOpen()) return;
    if ((virtualKey == Key::Digit0 || virtualKey == Key::Numpad0) && mods.shortcut()) {
        // Ctrl+0 produces no character: it is how a 0x00 byte is typed.
        if (s.settings.FontType == 0) {
            WriteCaretByte(s, 0x00);
            MoveRight(s);
            SyncScrollPosition(s);
        }
    } else if (virtualKey == Key::L && mods.shortcut()) {
        FindNextFromKeys(s);
    } else if (virtualKey == Key::F4) {
        NextViewMode(s);
    } else if (virtualKey == Key::F7) {
        SearchKey(s, mods);
    } else if (s.TextViewOn) {
        TextViewKey(s, virtualKey);
    } else {
        HexViewKey(s, virtualKey, mods);
    }
    ShowCaret(s);
}

void DataWindowWheel(EditorState& s, int delta) {
    const Operation operation(s);
    if (operation.refused() || !s.documentOpen()) return;
    // Steps add up to a notch of 120, which scrolls one row; what is left
    // over waits for the next step. A message of a notch or more is one row
    // all the same, and a turn of direction starts the sum again, so that a
    // touchpad's swing back acts at once.
    constexpr std::int32_t Notch = 120;
    std::int32_t& sum = s.WheelRemainder;
    if (std::int64_t{delta} * sum < 0) sum = 0;
    sum += std::clamp(delta, -Notch, Notch);
    if (sum >= Notch) {
        ScrollLineUp(s);
        sum -= Notch;
    } else if (sum <= -Notch) {
        ScrollLineDown(s);
        sum += Notch;
    } else {
        return;
    }
    SyncScrollPosition(s);
    ShowCaret(s);
}

void DataWindowClick(EditorState& s, int x, int y) {
    const Operation operation(s);
    if (!operation.refused()) PlaceCaretAtClick(s, x, y);
}

void DataWindowDoubleClick(EditorState& s, int x, int y) {
    const Operation operation(s);
    if (!operation.refused() && PlaceCaretAtClick(s, x, y))
        WaitInDialog(s, DialogKind::ModifyByte, BoxOwner::DataWindow);
}

void DataWindowScroll(EditorState& s, int request, std::int32_t trackPosition) {
    const Operation operation(s);
    if (operation.refused()) return;
    switch (request) {
        case ScrollRequest::LineUp: ScrollLineUp(s); break;
        case ScrollRequest::LineDown: ScrollLineDown(s); break;
        case ScrollRequest::PageUp: PageUp(s); break;
        case ScrollRequest::PageDown: PageDown(s); break;
        case ScrollRequest::ThumbPosition: ScrollToThumb(s, ThumbKind::Released, trackPosition); break;
        case ScrollRequest::ThumbTrack: ScrollToThumb(s, ThumbKind::Tracking, trackPosition); break;
        default: break;
    }
    // Without a document there is no caret address to show; the status bar
    // keeps its one empty part.
    if (!s.documentOpen()) return;
    SyncScrollPosition(s);
    ShowCaret(s);
}

void DataWindowResized(EditorState& s) {
    const Operation operation(s);
    if (operation.refused()) s.ResizeAsked = true;  // laid out once the operation in progress has ended
    if (operation.refused() || !s.documentOpen()) return;
    Relayout(s);
    SetupScrollBar(s, true);
    s.UI().invalidateData();
    // A relayout that cannot reach the next page brings the caret up onto another byte.
    ShowCaret(s);
}

void DataCaretCreated(EditorState& s) {
    s.CaretShown = false;  // a new caret starts hidden
    PlaceCaret(s);
    SyncCaretVisibility(s);
}

void DataCaretDestroyed(EditorState& s) { s.CaretShown = false; }

}  // namespace vop
