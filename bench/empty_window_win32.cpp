// The smallest Win32 window program, built like Vop.exe (static runtime,
// GUI subsystem): the yardstick for Vop's start-up. It registers a class,
// creates a window, shows and paints it, and runs its loop until closed.
//
// usage: empty_window [WIDTH HEIGHT]   (the window's outer size; default size otherwise)
#include <windows.h>

#include "bench/yardstick_window_win32.h"


namespace {

LRESULT CALLBACK EmptyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showState) {
    const vop::bench::OuterSize size = vop::bench::OuterSizeFrom(commandLine);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = EmptyWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "VopEmptyWindow";
    if (!RegisterClassA(&wc)) return 1;

    HWND window = CreateWindowExA(0, wc.lpszClassName, " Empty", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  size.width, size.height, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    return vop::bench::ShowAndRun(window, showState);
}
