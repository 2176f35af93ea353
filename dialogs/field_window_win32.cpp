#include "dialogs/field_window_win32.h"

#include <mmsystem.h>

#include "app/shell_win32.h"
#include "dialogs/entry_fields_win32.h"
#include "view/glyph_lines_win32.h"

namespace vop::shell::field {

bool AdoptRecord(HWND window, LPARAM createStruct) {
    const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(createStruct);
    if (!cs || !cs->lpCreateParams) return false;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    return true;
}

void ForgetRecord(HWND window) { SetWindowLongPtrA(window, GWLP_USERDATA, 0); }

void ShowFocusCaret(HWND window, std::int32_t caretPos) {
    CreateCaret(window, nullptr, FieldCaretWidth, FieldCaretHeight);
    SetCaretPos(FieldPositionX(caretPos), FieldCaretY);
    ShowCaret(window);
}

void DropFocusCaret(HWND window) {
    HideCaret(window);
    DestroyCaret();
}

void Paint(HWND window, const std::vector<FieldGlyph>& glyphs) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (!dc) {
        EndPaint(window, &ps);
        return;
    }
    HPEN pen = CreatePen(PS_SOLID, 0, Editor().settings.ForegroundColor);
    SetROP2(dc, R2_NOT);
    HGDIOBJ oldPen = pen ? SelectObject(dc, pen) : nullptr;
    // The fields always use the 8 × 16 glyphs, whatever cell size the data
    // window shows, so the cell size is given here rather than read.
    for (const FieldGlyph& g : glyphs) DrawGlyphLines(dc, g.x, 0, g.code, 0);
    if (pen) {
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }
    EndPaint(window, &ps);
}

void Apply(HWND window, const FieldOutcome& outcome, std::int32_t caretPos) {
    if (outcome.playDefaultSound) sndPlaySoundA("Default", SND_SYNC | SND_NOSTOP);
    // The system caret belongs to whichever window has the focus; moving it
    // from a field without the focus would move someone else's caret.
    if (outcome.placeCaret && GetFocus() == window) SetCaretPos(FieldPositionX(caretPos), FieldCaretY);
    if (outcome.repaint) InvalidateRect(window, nullptr, TRUE);
    if (outcome.takeFocus) SetFocus(window);
}

bool RegisterFieldClass(HINSTANCE instance, const char* className, WNDPROC procedure) {
    WNDCLASSA wc{};
    wc.style = 0;
    wc.lpfnWndProc = procedure;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    wc.hIcon = nullptr;
    wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = className;
    return RegisterClassA(&wc) != 0;
}

}  // namespace vop::shell::field

namespace vop::shell {

HWND CreateFieldWindow(HWND dialog, const char* className, void* record, int x, int y, int width, int height) {
    HWND window = CreateWindowExA(WS_EX_STATICEDGE, className, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0,
                                  dialog, nullptr, AppInstance(), record);
    if (window) MoveWindow(window, x, y, width, height, TRUE);
    return window;
}

}  // namespace vop::shell
