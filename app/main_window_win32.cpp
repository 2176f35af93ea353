// The main window: its children, its size rules, the menu commands, dropped
// files and the command line, and an orderly end.
#include "app/main_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/open_dialog_win32.h"
#include "app/program_paths.h"
#include "app/settings.h"
#include "app/shell_win32.h"
#include "app/shell_windows_win32.h"
#include "app/status_bar_win32.h"
#include "app/status_text.h"
#include "app/ui_win32.h"
#include "app/window_sizing.h"
#include "document/page_window.h"
#include "document/saving.h"
#include "resources/resource_ids.h"
#include "view/font_files.h"

namespace vop::shell {
namespace {

constexpr const char* MainClassName = "Vop";

WindowMetrics CurrentMetrics() {
    WindowMetrics m;
    m.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    m.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    m.frame = GetSystemMetrics(SM_CYFRAME);
    m.vscroll = GetSystemMetrics(SM_CXVSCROLL);
    m.caption = GetSystemMetrics(SM_CYCAPTION);
    m.menu = GetSystemMetrics(SM_CYMENU);
    RECT bar{};
    if (StatusBar() && GetWindowRect(StatusBar(), &bar)) m.statusBar = bar.bottom - bar.top;
    return m;
}

void ChangeFontCell(std::uint8_t fontCell) {
    EditorState& s = Editor();
    if (fontCell == s.settings.FontCell) return;
    FreeGlyphStrips(s.strips);
    s.settings.FontCell = fontCell;
    BuildGlyphStrips(s.strips, s.glyphs, s.settings.FontCell, s.settings.ForegroundColor, s.settings.BackgroundColor);
}

void ApplyOptimalSize(HWND window, SizingVariant variant) {
    const OptimalPlacement p = OptimalSize(CurrentMetrics(), Editor().settings.FontCell, variant);
    ChangeFontCell(p.fontCell);
    if (p.resize) MoveWindow(window, p.x, p.y, p.width, p.height, TRUE);
}

std::string SettingsPath() { return ProgramFolder() + SettingsFileName; }

// Opens a file named by the command line or a drop, with no save question.
void OpenNamedFile(const std::string& path) {
    EditorState& s = Editor();
    if (OpenDocument(s, path, 0)) CheckWritable(s);
}

std::string FullPath(const std::string& path) {
    const DWORD needed = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::vector<char> buffer(needed + 1);
    const DWORD n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (n == 0 || n >= buffer.size()) return path;
    return std::string(buffer.data(), n);
}

LRESULT OnCreate(HWND window) {
    EditorState& s = Editor();
    SetMainWindow(window);
    s.ui = &Win32Ui();
    s.settings.BackgroundColor = 0xFFFFFF;
    s.settings.ForegroundColor = 0x000000;
    LoadSettings(s.settings, SettingsPath());

    const std::string folder = ProgramFolder();
    const bool fonts = LoadFontFiles(s.glyphs, folder, "font.fnt", "font1.fnt", "font2.fnt") == 1;
    if (!fonts) MessageBoxA(window, "Unable to load font file!", "Error!", MB_OK);
    const bool digits = LoadDigitFiles(s.glyphs, folder, "digits.fnt", "digits1.fnt", "digits2.fnt") == 1;
    if (!digits) MessageBoxA(window, "Unable to load font file!", "Error!", MB_OK);
    if (!fonts || !digits) {
        // Without glyphs there is nothing to show: end here. The destruction
        // still writes the settings file and ends the message loop.
        DestroyWindow(window);
        return -1;
    }

    SetStatusBar(CreateStatusBar(window));
    HWND data = CreateWindowExA(0, "VopDataField", "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window, nullptr,
                                AppInstance(), nullptr);
    SetDataWindow(data);
    InitializeFlatSB(data);
    FlatSB_ShowScrollBar(data, SB_VERT, TRUE);
    FlatSB_EnableScrollBar(data, SB_VERT, ESB_DISABLE_BOTH);

    ApplyOptimalSize(window, SizingVariant::StartUp);
    InsertMenuA(GetSystemMenu(window, FALSE), 3, MF_BYPOSITION | MF_STRING, IDM_OPTIMAL_SIZE, "Optimal Size");
    return 0;
}

void OnSize(HWND window, WPARAM kind) {
    if (kind == SIZE_MINIMIZED) return;
    EditorState& s = Editor();
    RECT client{};
    GetClientRect(window, &client);
    RECT bar{};
    GetWindowRect(StatusBar(), &bar);
    const int statusHeight = bar.bottom - bar.top;
    if (s.documentOpen()) LayoutStatusParts(s, true);
    SendMessageA(StatusBar(), WM_SIZE, kind, MAKELPARAM(client.right, client.bottom));
    MoveWindow(DataWindow(), 0, 0, client.right, client.bottom - statusHeight, TRUE);
}

void OnSysColorChange() {
    EditorState& s = Editor();
    DestroyWindow(StatusBar());
    SetStatusBar(CreateStatusBar(MainWindow()));
    if (s.pages.FileSize != 0) {
        LayoutStatusParts(s, true);
        ShowCaretAddress(s);
        ShowFileSize(s);
    }
    const int v = GetSystemMetrics(SM_CXVSCROLL);
    FlatSB_SetScrollProp(DataWindow(), WSB_PROP_CXVSCROLL, v, FALSE);
    FlatSB_SetScrollProp(DataWindow(), WSB_PROP_CYVSCROLL, v, FALSE);
    SendMessageA(MainWindow(), WM_SIZE, 0, 0);
}

void OnDropFiles(HDROP drop) {
    const UINT length = DragQueryFileA(drop, 0, nullptr, 0);
    std::vector<char> path(length + 1);
    DragQueryFileA(drop, 0, path.data(), static_cast<UINT>(path.size()));
    DragFinish(drop);
    // Unsaved changes are not dropped along with the old document unasked.
    if (PromptSaveFile(Editor()) == -1) return;
    OpenNamedFile(std::string(path.data(), length));
}

void OnCommandLine(const char* text) { OpenNamedFile(FullPath(CommandLinePath(text ? text : ""))); }

void Exit(HWND window) {
    if (PromptSaveFile(Editor()) == -1) return;
    DestroyWindow(window);
}

void OnCommand(HWND window, int id) {
    EditorState& s = Editor();
    switch (id) {
        case IDM_FILE_OPEN:
            if (s.documentOpen() && PromptSaveFile(s) == -1) return;
            ShowOpenDialog(window);
            break;
        case IDM_FILE_SAVE: SaveDocument(s); break;
        case IDM_FILE_CLOSE:
            if (PromptSaveFile(s) == -1) return;
            CloseDocument(s);
            break;
        case IDM_FILE_EXIT: Exit(window); break;
        case IDM_SEARCH_FIND: RunDialog(DialogKind::Find, window); break;
        case IDM_SEARCH_REPLACE:
        case IDM_SEARCH_GOTO:
            if (s.TextViewOn) {
                Beep(4400, 100);
                return;
            }
            RunDialog(id == IDM_SEARCH_GOTO ? DialogKind::GotoAddress : DialogKind::Replace, window);
            break;
        default: break;  // commands whose dialogs come later do nothing yet
    }
}

void OnDestroy() {
    EditorState& s = Editor();
    s.pages.CurrentPage.release();
    s.pages.PrevPage.release();
    s.pages.NextPage.release();
    if (DataWindow()) DestroyWindow(DataWindow());
    if (StatusBar()) DestroyWindow(StatusBar());
    SetDataWindow(nullptr);
    SetStatusBar(nullptr);
    SaveSettings(s.settings, SettingsPath());
    PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return OnCreate(window);
        case WM_DESTROY: OnDestroy(); return 0;
        case WM_SIZE: OnSize(window, wParam); return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && DataWindow()) SetFocus(DataWindow());
            return 0;
        case WM_CLOSE: Exit(window); return 0;
        case WM_SYSCOLORCHANGE: OnSysColorChange(); return 0;
        case WM_GETMINMAXINFO: {
            const TrackSize t = MinimumTrackSize(CurrentMetrics(), Editor().settings.FontCell);
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize.x = t.width;
            info->ptMinTrackSize.y = t.height;
            return 0;
        }
        case WM_COMMAND: OnCommand(window, LOWORD(wParam)); return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFFF) == IDM_OPTIMAL_SIZE) {
                if (IsZoomed(window) || IsIconic(window)) ShowWindow(window, SW_RESTORE);
                ApplyOptimalSize(window, SizingVariant::Menu);
                return 0;
            }
            break;
        case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
        case WM_USER: OnCommandLine(reinterpret_cast<const char*>(lParam)); return 0;
        default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.style = CS_BYTEALIGNCLIENT;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "Vop_Icon");
    wc.lpszMenuName = "MainMenu";
    wc.lpszClassName = MainClassName;
    return RegisterClassA(&wc) != 0;
}

HWND CreateMainWindow(HINSTANCE instance) {
    return CreateWindowExA(WS_EX_ACCEPTFILES, MainClassName, " Vop", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
}

}  // namespace vop::shell
