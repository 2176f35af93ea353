// What the Win32 shell's parts share: the one EditorState, the program's
// windows, and small helpers every dialog uses.
#pragma once

#include <windows.h>

#include "app/editor_state.h"

namespace vop::shell {

EditorState& Editor();
HINSTANCE AppInstance();
HWND MainWindow();
HWND DataWindow();

// Moves a dialog, keeping its size, over the centre of the main window's outer rectangle.
void CenterOverMainWindow(HWND dialog);

// While a dialog is up, message boxes the core raises for "the calling dialog"
// are owned by it. Construct in WM_INITDIALOG's scope of use, destroyed on end.
void PushActiveDialog(HWND dialog);
void PopActiveDialog(HWND dialog);
HWND ActiveDialog();

// Runs one of the modal dialogs the core asks for.
void RunDialog(DialogKind kind, HWND owner);

}  // namespace vop::shell
