// The main window: its children, its size rules, and the menu commands,
// dropped files and the command line handed to the core.
#include "shell/main_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/menu_commands.h"
#include "app/program_paths.h"
#include "app/settings_choices.h"
#include "app/start_up.h"
#include "app/window_sizing.h"
#include "resources/resource_ids.h"
#include "shell/shell_win32.h"
#include "shell/system_calls_win32.h"
#include "view/glyph_strips.h"
#include "view/status_text.h"

namespace vop::shell {
namespace {

constexpr const wchar_t* MainClassName = L"Vop";
constexpr DWORD MainStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD MainExStyle = WS_EX_ACCEPTFILES;

void ApplyOptimalSize(HWND window, SizingVariant variant) {
    const OptimalPlacement p = TakeOptimalSize(Editor(), CurrentMetrics(), variant);
    if (p.resize) MoveWindow(window, p.x, p.y, p.width, p.height, TRUE);
}

// The room for windows on the monitor that shows most of the main window (the
// nearest one while it is still being made): the screen less the taskbar and
// docked bars. The primary monitor's when the monitor cannot be asked.
RECT WorkArea() {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromWindow(MainWindow(), MONITOR_DEFAULTTONEAREST), &info)) return info.rcWork;
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

HWND CreateStatusBar(HWND mainWindow) { return CreateStatusWindowW(WS_CHILD | WS_VISIBLE, L"", mainWindow, 0); }

// A path as the user gave it, made absolute against the current folder.
std::string FullPath(const std::string& path) {
    const std::wstring wide = Wide(path);
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::vector<wchar_t> buffer(needed + 1);
    const DWORD n = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (n == 0 || n >= buffer.size()) return path;
    return Utf8(buffer.data(), n);
}

// Without glyphs there is nothing to show, and without the children nothing
// to show them in: creation fails. The window is destroyed here, so that its
// destruction writes the settings file and ends the message loop whatever
// the system does with a failed creation.
LRESULT FailCreation(HWND window) {
    DestroyWindow(window);
    return -1;
}

// Run as administrator, Vop sits above the Explorer's integrity level, and
// the system drops messages from below unless the window lets them in: the
// files dragged onto it, and the copy messages their drop is made of.
void AcceptDropsWhenElevated(HWND window) {
    constexpr UINT CopyGlobalData = 0x0049;  // the drag's data, named in no public header
    for (UINT message : {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), CopyGlobalData})
        ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
}

LRESULT OnCreate(HWND window) {
    EditorState& s = Editor();
    SetMainWindow(window);
    AcceptDropsWhenElevated(window);
    s.ui = &Win32Ui();
    if (!StartUp(s, ProgramFolder())) return FailCreation(window);
    SetStatusBar(CreateStatusBar(window));
    HWND data = CreateWindowExW(0, L"VopDataField", L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window, nullptr,
                                AppInstance(), nullptr);
    if (!StatusBar() || !data) return FailCreation(window);
    SetDataWindow(data);
    InitializeFlatSB(data);
    FlatSB_ShowScrollBar(data, SB_VERT, TRUE);
    FlatSB_EnableScrollBar(data, SB_VERT, ESB_DISABLE_BOTH);

    ApplyOptimalSize(window, SizingVariant::StartUp);
    InsertMenuW(GetSystemMenu(window, FALSE), 3, MF_BYPOSITION | MF_STRING, IDM_OPTIMAL_SIZE, L"Optimal Size");
    return 0;
}

void OnSize(HWND window, WPARAM kind) {
    if (kind == SIZE_MINIMIZED) return;
    EditorState& s = Editor();
    RECT client{};
    GetClientRect(window, &client);
    RECT bar{};
    GetWindowRect(StatusBar(), &bar);
    const int statusHeight = bar.bottom - bar.top;
    if (s.documentOpen()) LayoutStatusParts(s, true);
    SendMessageW(StatusBar(), WM_SIZE, kind, MAKELPARAM(client.right, client.bottom));
    MoveWindow(DataWindow(), 0, 0, client.right, client.bottom - statusHeight, TRUE);
}

void OnSysColorChange() {
    EditorState& s = Editor();
    DestroyWindow(StatusBar());
    SetStatusBar(CreateStatusBar(MainWindow()));
    if (s.pages.FileSize != 0) {
        LayoutStatusParts(s, true);
        ShowCaretAddress(s);
        ShowFileSize(s);
    }
    const int v = GetSystemMetrics(SM_CXVSCROLL);
    FlatSB_SetScrollProp(DataWindow(), WSB_PROP_CXVSCROLL, v, FALSE);
    FlatSB_SetScrollProp(DataWindow(), WSB_PROP_CYVSCROLL, v, FALSE);
    SendMessageW(MainWindow(), WM_SIZE, 0, 0);
}

void OnDropFiles(HDROP drop) {
    const UINT length = late::DragQueryFileW(drop, 0, nullptr, 0);
    std::vector<wchar_t> path(length + 1);
    late::DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size()));
    late::DragFinish(drop);
    OpenDroppedFile(Editor(), Utf8(path.data(), length));
}

void OnDestroy() {
    ShutDown(Editor(), ProgramFolder());
    if (DataWindow()) DestroyWindow(DataWindow());
    if (StatusBar()) DestroyWindow(StatusBar());
    SetDataWindow(nullptr);
    SetStatusBar(nullptr);
    PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return OnCreate(window);
        case WM_DESTROY: OnDestroy(); return 0;
        case WM_SIZE: OnSize(window, wParam); return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && DataWindow()) SetFocus(DataWindow());
            return 0;
        case WM_CLOSE: RequestExit(Editor()); return 0;
        case WM_SYSCOLORCHANGE: OnSysColorChange(); return 0;
        case WM_GETMINMAXINFO: {
            const TrackSize t = MinimumTrackSize(CurrentMetrics(), Editor().settings.FontCell);
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize.x = t.width;
            info->ptMinTrackSize.y = t.height;
            return 0;
        }
        case WM_COMMAND: RunMenuCommand(Editor(), LOWORD(wParam)); return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFFF) == IDM_OPTIMAL_SIZE) {
                if (IsZoomed(window) || IsIconic(window)) ShowWindow(window, SW_RESTORE);
                ApplyOptimalSize(window, SizingVariant::Menu);
                return 0;
            }
            break;
        case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
        default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

WindowMetrics CurrentMetrics() {
    WindowMetrics m;
    const RECT work = WorkArea();
    m.workLeft = work.left;
    m.workTop = work.top;
    m.workWidth = work.right - work.left;
    m.workHeight = work.bottom - work.top;
    // The frame and caption as the system draws them around the window's
    // styles: for a program that says subsystem version 6.0 or later the
    // frame is wider than SM_CYFRAME by the padded border.
    RECT outer{};
    AdjustWindowRectEx(&outer, MainStyle, FALSE, MainExStyle);
    m.frame = outer.bottom;
    m.caption = -outer.top - outer.bottom;
    m.vscroll = GetSystemMetrics(SM_CXVSCROLL);
    m.menu = GetSystemMetrics(SM_CYMENU);
    RECT bar{};
    if (StatusBar() && GetWindowRect(StatusBar(), &bar)) m.statusBar = bar.bottom - bar.top;
    return m;
}

void OpenCommandLine(const wchar_t* commandLine) {
    OpenNamedFile(Editor(), FullPath(CommandLinePath(Utf8(commandLine, wcslen(commandLine)))));
}

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSW wc = {};
    wc.style = CS_BYTEALIGNCLIENT;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, L"Vop_Icon");
    wc.lpszMenuName = L"MainMenu";
    wc.lpszClassName = MainClassName;
    return RegisterClassW(&wc) != 0;
}

HWND CreateMainWindow(HINSTANCE instance) {
    return CreateWindowExW(MainExStyle, MainClassName, L" Vop", MainStyle, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
}

}  // namespace vop::shell
