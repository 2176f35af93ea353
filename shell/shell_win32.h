// What the Win32 shell's parts share: the one EditorState, the program's
// windows, the conversions between the core's UTF-8 and the wide calls, and
// the helpers every dialog uses.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "state/editor_state.h"

namespace vop::shell {

EditorState& Editor();
HINSTANCE AppInstance();
HWND MainWindow();
HWND DataWindow();
HWND StatusBar();
void SetAppInstance(HINSTANCE instance);
void SetMainWindow(HWND window);
void SetDataWindow(HWND window);
void SetStatusBar(HWND window);

// The program's folder with its trailing backslash, from the full module
// path; nothing when that path cannot be read.
std::optional<std::string> ProgramFolder();

std::wstring Wide(const std::string& utf8);
std::string Utf8(const wchar_t* text, std::size_t length);
std::string Utf8(const std::wstring& text);

// Where a point of a dialog's client area, laid out in pixels for the dialog
// font at 96 DPI (base units of 6 × 13 pixels), falls in the dialog as it is
// really shown: the template's controls grow with the font and the DPI, and
// what the program places in pixels keeps its place beside them.
POINT DialogPoint(HWND dialog, int x, int y);

// Moves a dialog, keeping its size, over the centre of the main window's outer rectangle.
void CenterOverMainWindow(HWND dialog);

// Blocks for that long, handling no messages, with everything drawn so far on
// the screen (a plain Sleep leaves Wine's drawing unshown until the next message).
void PauseShowingDrawing(DWORD milliseconds);

// While a dialog is up, message boxes the core raises for "the calling
// dialog" are owned by it.
void PushActiveDialog(HWND dialog);
void PopActiveDialog(HWND dialog);
HWND ActiveDialog();

// The real window system behind the core's Ui.
Ui& Win32Ui();

}  // namespace vop::shell
