// What the start-up yardsticks (empty_window, framed_window) share: the outer
// size startup_bench hands them, and showing, painting and running the window
// exactly as Vop.exe does.
#pragma once

#include <windows.h>

#include <cstdio>

namespace vop::bench {

struct OuterSize {
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
};

// "WIDTH HEIGHT" on the command line; the system's default size otherwise.
inline OuterSize OuterSizeFrom(const char* commandLine) {
    OuterSize size;
    int w = 0, h = 0;
    if (commandLine && std::sscanf(commandLine, "%d %d", &w, &h) == 2 && w > 0 && h > 0) size = {w, h};
    return size;
}

inline int ShowAndRun(HWND window, int showState) {
    ShowWindow(window, showState);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace vop::bench
