// The empty window with the parts of Vop's frame that the system draws: a
// menu bar, a status bar, and a child filling the rest with a disabled flat
// scroll bar, painted in one fill, with common controls 6 from the same
// manifest. What it costs over the empty window is the system's price of
// those parts; what Vop costs over it is Vop's own start-up work.
//
// usage: framed_window [WIDTH HEIGHT]   (the window's outer size; default size otherwise)
#include <windows.h>
#include <commctrl.h>

#include <initializer_list>

#include "bench/yardstick_window_win32.h"

namespace {

HWND status = nullptr;
HWND child = nullptr;

LRESULT CALLBACK ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK FramedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            status = CreateStatusWindowW(WS_CHILD | WS_VISIBLE, L"", window, 0);
            child = CreateWindowExW(0, L"VopFramedChild", L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window, nullptr,
                                    nullptr, nullptr);
            InitializeFlatSB(child);
            FlatSB_ShowScrollBar(child, SB_VERT, TRUE);
            FlatSB_EnableScrollBar(child, SB_VERT, ESB_DISABLE_BOTH);
            return 0;
        case WM_SIZE: {
            RECT bar{};
            GetWindowRect(status, &bar);
            SendMessageW(status, WM_SIZE, wParam, lParam);
            MoveWindow(child, 0, 0, LOWORD(lParam), HIWORD(lParam) - (bar.bottom - bar.top), TRUE);
            return 0;
        }
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

HMENU MenuBar() {
    HMENU bar = CreateMenu();
    for (const wchar_t* title : {L"&File", L"&Options", L"&Help"}) {
        HMENU popup = CreatePopupMenu();
        AppendMenuW(popup, MF_STRING, 1, L"&Item");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), title);
    }
    return bar;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showState) {
    const vop::bench::OuterSize size = vop::bench::OuterSizeFrom(commandLine);
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES;
    InitCommonControlsEx(&controls);

    WNDCLASSW wc = {};
    wc.lpfnWndProc = ChildProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = L"VopFramedChild";
    if (!RegisterClassW(&wc)) return 1;
    wc.lpfnWndProc = FramedWindowProc;
    wc.lpszClassName = L"VopEmptyWindow";  // the class startup_bench waits for
    if (!RegisterClassW(&wc)) return 1;

    HWND window = CreateWindowExW(WS_EX_ACCEPTFILES, wc.lpszClassName, L" Framed", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, size.width, size.height, nullptr, MenuBar(), instance, nullptr);
    if (!window) return 1;
    return vop::bench::ShowAndRun(window, showState);
}
