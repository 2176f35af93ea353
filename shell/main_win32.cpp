// Program entry: register the window classes, create the main window, open a
// file named on the command line, and run the message loop with the menu's
// shortcuts.
#include <windows.h>
#include <commctrl.h>

#include "shell/data_window_win32.h"
#include "shell/entry_fields_win32.h"
#include "shell/main_window_win32.h"
#include "shell/pattern_field_win32.h"
#include "shell/shell_win32.h"
#include "shell/system_calls_win32.h"

namespace {

using namespace vop::shell;

// Only input for the main window and its children is looked up: modal
// dialogs and message boxes run loops of their own. A key taken as a
// shortcut goes no further, so the data window never sees it as a key
// or a character.
int RunMessageLoop(HINSTANCE instance, HWND main) {
    HACCEL shortcuts = LoadAcceleratorsW(instance, L"MainShortcuts");
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        const bool forMain = msg.hwnd == main || IsChild(main, msg.hwnd);
        if (shortcuts && forMain && TranslateAcceleratorW(main, shortcuts, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

int Run(HINSTANCE instance, LPWSTR commandLine, int showState) {
    SetAppInstance(instance);
    if (!RegisterMainWindowClass(instance) || !RegisterDataWindowClass(instance) ||
        !RegisterEditFieldClass(instance) || !RegisterAddressFieldClass(instance) ||
        !RegisterPatternFieldClass(instance))
        return 0;

    // A window that could not be made (fonts missing, no display, no
    // resources) leaves nothing to wait for: end at once.
    HWND main = CreateMainWindow(instance);
    if (!main) return 0;
    ShowWindow(main, showState);
    UpdateWindow(main);
    if (commandLine && commandLine[0] != L'\0') OpenCommandLine(commandLine);
    return RunMessageLoop(instance, main);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showState) {
    // The status bar's class is registered before the main window makes it:
    // a program with the version 6 controls may not rely on the system having
    // done so.
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES;
    InitCommonControlsEx(&controls);
    // COM starts at its first need (shell/system_calls_win32.h), not here.
    const int result = Run(instance, commandLine, showState);
    late::EndCom();
    return result;
}
