// The one EditorState of the running program and the shell's shared helpers.
#include <memory>
#include <vector>

#include "app/shell_win32.h"
#include "app/shell_windows_win32.h"
#include "dialogs/small_dialogs_win32.h"

namespace vop::shell {
namespace {

struct ShellGlobals {
    std::unique_ptr<EditorState> editor = std::make_unique<EditorState>();
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;
    HWND dataWindow = nullptr;
    HWND statusBar = nullptr;
    std::vector<HWND> dialogs;
};

ShellGlobals& Globals() {
    static ShellGlobals globals;  // the program's one instance; tests of the core never see it
    return globals;
}

}  // namespace

EditorState& Editor() { return *Globals().editor; }
HINSTANCE AppInstance() { return Globals().instance; }
HWND MainWindow() { return Globals().mainWindow; }
HWND DataWindow() { return Globals().dataWindow; }
HWND StatusBar() { return Globals().statusBar; }

void SetAppInstance(HINSTANCE instance) { Globals().instance = instance; }
void SetMainWindow(HWND window) { Globals().mainWindow = window; }
void SetDataWindow(HWND window) { Globals().dataWindow = window; }
void SetStatusBar(HWND window) { Globals().statusBar = window; }

void CenterOverMainWindow(HWND dialog) {
    RECT main{}, box{};
    GetWindowRect(MainWindow(), &main);
    GetWindowRect(dialog, &box);
    const int w = box.right - box.left, h = box.bottom - box.top;
    MoveWindow(dialog, main.left + (main.right - main.left - w) / 2, main.top + (main.bottom - main.top - h) / 2, w, h,
               TRUE);
}

void PushActiveDialog(HWND dialog) { Globals().dialogs.push_back(dialog); }

void PopActiveDialog(HWND dialog) {
    auto& d = Globals().dialogs;
    for (auto it = d.end(); it != d.begin();) {
        --it;
        if (*it == dialog) {
            d.erase(it);
            return;
        }
    }
}

HWND ActiveDialog() { return Globals().dialogs.empty() ? MainWindow() : Globals().dialogs.back(); }

void RunDialog(DialogKind kind, HWND owner) {
    switch (kind) {
        case DialogKind::ModifyByte: RunModifyByteDialog(owner); break;
        case DialogKind::GotoAddress: RunGotoAddressDialog(owner); break;
        case DialogKind::Find:
        case DialogKind::Replace:
            break;  // the search dialogs arrive with the search feature
    }
}

}  // namespace vop::shell
