// Setters and accessors the main window uses while it builds its children.
#pragma once

#include <windows.h>

#include <string>

namespace vop::shell {

HWND StatusBar();
void SetAppInstance(HINSTANCE instance);
void SetMainWindow(HWND window);
void SetDataWindow(HWND window);
void SetStatusBar(HWND window);

// The program's folder with its trailing backslash, from the full module path.
std::string ProgramFolder();

}  // namespace vop::shell
