// The one EditorState of the running program and the shell's shared helpers.
#include <memory>
#include <vector>

#include "app/program_paths.h"
#include "files/real_file_system.h"
#include "files/unicode_text.h"
#include "shell/shell_win32.h"

namespace vop::shell {
namespace {

struct ShellGlobals {
    std::unique_ptr<EditorState> editor = [] {
        auto state = std::make_unique<EditorState>();
        state->files = &RealFileSystem();
        return state;
    }();
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

std::optional<std::string> ProgramFolder() {
    // Grow the buffer until the whole path fits: a program installed under a
    // long path must still find its fonts and settings.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::nullopt;
        if (n < buffer.size()) return ProgramDirectory(Utf8(buffer.data(), n));
        if (buffer.size() >= 32768) return std::nullopt;
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring Wide(const std::string& utf8) {
    const std::u16string text = Utf8ToUtf16(utf8);
    return std::wstring(text.begin(), text.end());
}

std::string Utf8(const wchar_t* text, std::size_t length) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

std::string Utf8(const std::wstring& text) { return Utf8(text.data(), text.size()); }

POINT DialogPoint(HWND dialog, int x, int y) {
    constexpr int LaidOutWidth = 6, LaidOutHeight = 13;
    RECT unit{0, 0, 4, 8};  // one base unit across and down, in dialog units
    if (!MapDialogRect(dialog, &unit) || unit.right <= 0 || unit.bottom <= 0) return {x, y};
    return {MulDiv(x, unit.right, LaidOutWidth), MulDiv(y, unit.bottom, LaidOutHeight)};
}

void CenterOverMainWindow(HWND dialog) {
    RECT main{}, box{};
    GetWindowRect(MainWindow(), &main);
    GetWindowRect(dialog, &box);
    const int w = box.right - box.left, h = box.bottom - box.top;
    MoveWindow(dialog, main.left + (main.right - main.left - w) / 2, main.top + (main.bottom - main.top - h) / 2, w, h,
               TRUE);
}

void PauseShowingDrawing(DWORD milliseconds) {
    GdiFlush();
    // A wait that looks at the message queue puts Wine's drawing on the screen;
    // it returns at once and handles nothing.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, 0);
    Sleep(milliseconds);
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

}  // namespace vop::shell
