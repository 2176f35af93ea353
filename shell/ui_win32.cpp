// The real window system behind the core's Ui interface: UTF-8 texts go out
// through the wide calls.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <utility>
#include <vector>

#include "shell/data_accessible_win32.h"
#include "shell/dialogs_win32.h"
#include "shell/shell_win32.h"
#include "shell/system_calls_win32.h"

namespace vop::shell {
namespace {

HWND OwnerWindow(BoxOwner owner) {
    switch (owner) {
        case BoxOwner::MainWindow: return MainWindow();
        case BoxOwner::DataWindow: return DataWindow() ? DataWindow() : MainWindow();
        case BoxOwner::ActiveDialog: return ActiveDialog();
    }
    return MainWindow();
}

constexpr UINT_PTR BlinkTimerId = 1;
constexpr UINT BlinkPeriodMs = 600;

// Between two chunks of a long search. Input that arrived meanwhile is taken
// off the queue so that none of it acts later, and Esc among it cancels.
// Only Vop's own queue counts: the key's global state would also tell of an
// Esc pressed in another program. Peeking also tells the window system the
// program still responds. Paint and timer messages stay queued for when the
// search ends. Peeking runs whatever other programs sent to Vop's windows
// meanwhile (the core puts off what they ask for until the search has
// returned), and takes the quit message whatever the range: that one goes
// back on the queue, and the search stops.
bool PollDuringSearch() {
    bool escape = false;
    MSG msg;
    for (const auto& [first, last] : {std::pair<UINT, UINT>{WM_KEYFIRST, WM_KEYLAST}, {WM_MOUSEFIRST, WM_MOUSELAST}}) {
        while (PeekMessageW(&msg, nullptr, first, last, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return true;
            }
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) escape = true;
        }
    }
    return escape;
}

// File/Open: the platform's open-file dialog, owned by the main window.
std::optional<std::string> PickFile() {
    // A generous name buffer: a long pick must reach the open operation
    // whole, which refuses it by name rather than opening a shorter path.
    std::vector<wchar_t> name(32768, L'\0');
    OPENFILENAMEW ofn = {};
    const bool oldWindows = LOBYTE(LOWORD(GetVersion())) < 5;
    ofn.lStructSize = oldWindows ? OPENFILENAME_SIZE_VERSION_400W : sizeof ofn;
    ofn.hwndOwner = MainWindow();
    ofn.lpstrFilter = L"All Files\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrInitialDir = L".";
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!oldWindows) ofn.FlagsEx = OFN_EX_NOPLACESBAR;
    late::NeedCom();
    if (!late::GetOpenFileNameW(&ofn)) return std::nullopt;
    return Utf8(name.data(), wcslen(name.data()));
}

class Win32UiImpl : public Ui {
public:
    BoxAnswer messageBox(BoxOwner owner, const std::string& text, const std::string& title,
                         BoxButtons buttons) override {
        UINT type = MB_OK;
        if (buttons == BoxButtons::YesNo) type = MB_YESNO;
        if (buttons == BoxButtons::YesNoCancel) type = MB_YESNOCANCEL;
        switch (MessageBoxW(OwnerWindow(owner), Wide(text).c_str(), Wide(title).c_str(), type)) {
            case IDYES: return BoxAnswer::Yes;
            case IDNO: return BoxAnswer::No;
            case IDCANCEL: return BoxAnswer::Cancel;
            default: return BoxAnswer::Ok;
        }
    }

    // A repaint or a caret move may change what a screen reader is told.
    void invalidateData() override {
        InvalidateRect(DataWindow(), nullptr, FALSE);
        ReaderWordsMayHaveChanged();
    }

    void invalidateDataRect(int left, int top, int right, int bottom) override {
        RECT r{left, top, right, bottom};
        InvalidateRect(DataWindow(), &r, FALSE);
        ReaderWordsMayHaveChanged();
    }

    void invertDataRect(int left, int top, int right, int bottom) override {
        HRGN region = CreateRectRgn(left, top, right, bottom);
        HDC dc = GetDC(DataWindow());
        if (dc) {
            InvertRgn(dc, region);
            ReleaseDC(DataWindow(), dc);
        }
        DeleteObject(region);
    }

    ClientSize dataClientSize() override {
        RECT r{};
        GetClientRect(DataWindow(), &r);
        return {r.right - r.left, r.bottom - r.top};
    }

    void setCaretPos(int x, int y) override {
        SetCaretPos(x, y);
        ReaderWordsMayHaveChanged();
    }
    void showCaret() override { ShowCaret(DataWindow()); }
    void hideCaret() override { HideCaret(DataWindow()); }

    void setTitle(const std::string& title) override { SetWindowTextW(MainWindow(), Wide(title).c_str()); }

    void setSearchCommandsEnabled(bool enabled) override {
        HMENU search = GetSubMenu(GetMenu(MainWindow()), 1);
        const UINT state = MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED);
        for (UINT id : {40002u, 40010u, 40013u}) EnableMenuItem(search, id, state);
    }

    void closeMainWindow() override { DestroyWindow(MainWindow()); }

    void layoutStatusParts(bool twoParts, const std::string& sizeText) override {
        HWND bar = StatusBar();
        if (!twoParts) {
            int edges[1] = {-1};
            SendMessageW(bar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(edges));
            return;
        }
        RECT outer{};
        GetWindowRect(MainWindow(), &outer);
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(bar, WM_GETFONT, 0, 0));
        if (!font) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
        SIZE extent{};
        HDC dc = GetDC(bar);
        HGDIOBJ old = SelectObject(dc, font);
        const std::wstring text = Wide(sizeText);
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(dc, old);
        ReleaseDC(bar, dc);
        int edges[2] = {(outer.right - outer.left) - 16 * GetSystemMetrics(SM_CXBORDER) - extent.cx -
                            GetSystemMetrics(SM_CXVSCROLL),
                        -1};
        SendMessageW(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
    }

    void setStatusText(int part, const std::string& text) override {
        const std::wstring wide = Wide(text);
        if (part == 0)
            SendMessageW(StatusBar(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
        else
            SendMessageW(StatusBar(), SB_SETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(wide.c_str()));
    }

    void scrollEnableArrows(bool enable) override {
        FlatSB_EnableScrollBar(DataWindow(), SB_VERT, enable ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
    }

    void scrollSetRange(int maximum) override {
        SCROLLINFO si = {};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE;
        si.nMin = 0;
        si.nMax = maximum;
        FlatSB_SetScrollInfo(DataWindow(), SB_VERT, &si, FALSE);
    }

    int scrollArrowHeight() override {
        INT height = 0;
        if (!FlatSB_GetScrollProp(DataWindow(), WSB_PROP_CYVSCROLL, &height)) return 0;
        return height;
    }

    void scrollSetThumbHeight(int pixels, bool redraw) override {
        FlatSB_SetScrollProp(DataWindow(), WSB_PROP_CYVTHUMB, pixels, redraw ? TRUE : FALSE);
    }

    void scrollSetPos(int position) override { FlatSB_SetScrollPos(DataWindow(), SB_VERT, position, TRUE); }

    void beep(int frequency, int milliseconds) override {
        Beep(static_cast<DWORD>(frequency), static_cast<DWORD>(milliseconds));
    }

    std::uint64_t milliseconds() override { return GetTickCount64(); }

    void showProgress(const std::string& text) override {
        setStatusText(0, text);
        UpdateWindow(StatusBar());  // the message loop is not running: paint now
    }

    bool cancelRequested() override { return PollDuringSearch(); }

    void startBlinking() override { SetTimer(DataWindow(), BlinkTimerId, BlinkPeriodMs, nullptr); }

    void stopBlinking() override {
        KillTimer(DataWindow(), BlinkTimerId);
        // An odd number of ticks leaves the occurrence inverted.
        InvalidateRect(DataWindow(), nullptr, FALSE);
    }

    void openDialog(DialogKind kind, BoxOwner owner) override { RunDialog(kind, OwnerWindow(owner)); }

    std::optional<std::string> pickFileToOpen() override { return PickFile(); }
};

}  // namespace

Ui& Win32Ui() {
    static Win32UiImpl ui;  // stateless: every call goes to the windows of the shell
    return ui;
}

}  // namespace vop::shell
