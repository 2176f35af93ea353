// Program entry: register the window classes, create the main window, open a
// file named on the command line, and run the message loop.
#include <windows.h>

#include <vector>

#include "app/main_window_win32.h"
#include "app/program_paths.h"
#include "app/shell_win32.h"
#include "app/shell_windows_win32.h"
#include "dialogs/entry_fields_win32.h"
#include "document/line_index.h"
#include "view/data_window_win32.h"

namespace vop::shell {

std::string ProgramFolder() {
    // Grow the buffer until the whole path fits: a program installed under a
    // long path must still find its fonts and settings.
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::string();
        if (n < buffer.size()) return ProgramDirectory(std::string(buffer.data(), n));
        if (buffer.size() >= 32768) return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace vop::shell

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showState) {
    using namespace vop::shell;
    SetAppInstance(instance);
    if (!RegisterMainWindowClass(instance) || !RegisterDataWindowClass(instance) ||
        !RegisterEditFieldClass(instance) || !RegisterAddressFieldClass(instance))
        return 0;

    HWND main = CreateMainWindow(instance);
    if (main) {
        ShowWindow(main, showState);
        UpdateWindow(main);
        if (commandLine && commandLine[0] != '\0')
            SendMessageA(main, WM_USER, 0, reinterpret_cast<LPARAM>(commandLine));
    }

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    vop::DiscardLineIndex(Editor());
    return static_cast<int>(msg.wParam);
}
