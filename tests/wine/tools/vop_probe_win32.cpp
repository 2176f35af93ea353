// Test helper that runs beside Vop.exe under the same Wine server and reads
// what a user would see (title, status bar, message boxes, window places) or
// does what a user's shell would do (menu commands, dropping files).
// Usage: vop_probe info | box | press <id> | command <id> | syscommand <id> | drop <path>...
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

HWND MainWindow() { return FindWindowA("Vop", nullptr); }

// Asks the program's window, giving up after two seconds so a busy program
// makes the probe report "busy" instead of hanging the test.
bool Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    DWORD_PTR answer = 0;
    const bool ok = SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &answer) != 0;
    if (result) *result = static_cast<LRESULT>(answer);
    if (!ok) std::printf("busy=1\n");
    return ok;
}

std::string Text(HWND window) {
    char buffer[2048] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

void PrintRect(const char* name, RECT r) { std::printf("%s=%ld,%ld,%ld,%ld\n", name, r.left, r.top, r.right, r.bottom); }

RECT ClientOnScreen(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    POINT p{0, 0};
    ClientToScreen(window, &p);
    OffsetRect(&r, p.x, p.y);
    return r;
}

// Reads a status bar part through a buffer placed in the program's own memory.
std::string StatusPart(HWND bar, int part) {
    DWORD pid = 0;
    GetWindowThreadProcessId(bar, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return "?";
    void* remote = VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
    std::string result;
    if (remote) {
        Ask(bar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(remote), nullptr);
        char local[4096] = {};
        SIZE_T got = 0;
        ReadProcessMemory(process, remote, local, sizeof local - 1, &got);
        result = local;
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return result;
}

struct Found {
    DWORD pid;
    std::vector<HWND> windows;
    const char* className;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
    auto* f = reinterpret_cast<Found*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (pid == f->pid && IsWindowVisible(window) && std::strcmp(cls, f->className) == 0) f->windows.push_back(window);
    return TRUE;
}

std::vector<HWND> ProgramDialogs(HWND main) {
    Found f{0, {}, "#32770"};
    GetWindowThreadProcessId(main, &f.pid);
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&f));
    return f.windows;
}

int Info() {
    HWND main = MainWindow();
    if (!main) {
        std::printf("running=0\n");
        return 0;
    }
    std::printf("running=1\ntitle=%s\n", Text(main).c_str());
    std::printf("metrics=%d,%d,%d,%d,%d,%d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                GetSystemMetrics(SM_CYFRAME), GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYCAPTION),
                GetSystemMetrics(SM_CYMENU));
    RECT r{};
    GetWindowRect(main, &r);
    PrintRect("window", r);
    PrintRect("client", ClientOnScreen(main));
    std::printf("zoomed=%d\n", IsZoomed(main) ? 1 : 0);
    HWND data = FindWindowExA(main, nullptr, "VopDataField", nullptr);
    if (data) PrintRect("data", ClientOnScreen(data));
    HWND bar = FindWindowExA(main, nullptr, STATUSCLASSNAMEA, nullptr);
    if (bar) {
        LRESULT count = 0;
        Ask(bar, SB_GETPARTS, 0, 0, &count);
        const int parts = static_cast<int>(count);
        std::printf("parts=%d\n", parts);
        for (int i = 0; i < parts && i < 4; ++i) std::printf("status%d=%s\n", i, StatusPart(bar, i).c_str());
        RECT b{};
        GetWindowRect(bar, &b);
        PrintRect("statusbar", b);
    }
    for (HWND d : ProgramDialogs(main)) std::printf("dialog=%s\n", Text(d).c_str());
    return 0;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM param) {
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (_stricmp(cls, "Static") == 0 && GetDlgCtrlID(child) == 0xFFFF)
        *reinterpret_cast<std::string*>(param) = Text(child);
    return TRUE;
}

int Box() {
    HWND main = MainWindow();
    if (!main) return 2;
    for (HWND d : ProgramDialogs(main)) {
        std::string text;
        EnumChildWindows(d, CollectStatic, reinterpret_cast<LPARAM>(&text));
        std::printf("hwnd=%p\ntitle=%s\ntext=%s\n", static_cast<void*>(d), Text(d).c_str(), text.c_str());
        RECT r{};
        GetWindowRect(d, &r);
        PrintRect("rect", r);
        return 0;
    }
    return 1;
}

int Press(int id) {
    HWND main = MainWindow();
    if (!main) return 2;
    auto dialogs = ProgramDialogs(main);
    if (dialogs.empty()) return 1;
    PostMessageA(dialogs.front(), WM_COMMAND, static_cast<WPARAM>(id), 0);
    return 0;
}

// A drop as the shell delivers it: a DROPFILES block in the program's memory.
int Drop(int count, char** paths) {
    HWND main = MainWindow();
    if (!main) return 2;
    std::vector<char> block(sizeof(DROPFILES));
    for (int i = 0; i < count; ++i) block.insert(block.end(), paths[i], paths[i] + std::strlen(paths[i]) + 1);
    block.push_back('\0');
    auto* header = reinterpret_cast<DROPFILES*>(block.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return 3;
    void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return 3;
    WriteProcessMemory(process, remote, block.data(), block.size(), nullptr);
    CloseHandle(process);
    PostMessageA(main, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
    return 0;
}

// Key presses through the system's input queue, to the window with the focus.
// (Lock keys pressed through the X server are switched back by Wine's own
// lock-state check on the next key; keys sent here keep their toggle.)
int SendKeys(int count, char** codes) {
    for (int i = 0; i < count; ++i) {
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wVk = in[1].ki.wVk = static_cast<WORD>(std::atoi(codes[i]));
        in[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, in, sizeof(INPUT));
        Sleep(60);
    }
    return 0;
}

// Keeps a file open for reading only, sharing it for reading only, so that
// no one can open it for writing meanwhile (a file locked by another program).
int Hold(const char* path, int seconds) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    std::printf("held\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    CloseHandle(file);
    return 0;
}

// The program's memory now: working set and private bytes, in KiB.
int Memory() {
    HWND main = MainWindow();
    if (!main) return 2;
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return 3;
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    const BOOL ok = GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    CloseHandle(process);
    if (!ok) return 4;
    std::printf("workingset_kib=%zu\nprivate_kib=%zu\npeak_workingset_kib=%zu\n", counters.WorkingSetSize / 1024,
                counters.PrivateUsage / 1024, counters.PeakWorkingSetSize / 1024);
    return 0;
}

// The menu resource of a program file, item by item: id|text|state.
int MenuResource(const char* exe) {
    HMODULE module = LoadLibraryExA(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return 2;
    HMENU menu = LoadMenuA(module, "MainMenu");
    if (!menu) return 3;
    std::printf("menus=%d\n", GetMenuItemCount(menu));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char name[64] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), name, sizeof name, MF_BYPOSITION);
        std::printf("menu%d=%s\n", i, name);
        HMENU sub = GetSubMenu(menu, i);
        for (int j = 0; sub && j < GetMenuItemCount(sub); ++j) {
            char item[64] = {};
            GetMenuStringA(sub, static_cast<UINT>(j), item, sizeof item, MF_BYPOSITION);
            const UINT id = GetMenuItemID(sub, j);
            const UINT state = GetMenuState(sub, static_cast<UINT>(j), MF_BYPOSITION);
            std::printf("item%d.%d=%u|%s|%s\n", i, j, id == static_cast<UINT>(-1) ? 0u : id, item,
                        (state & MF_SEPARATOR) ? "separator" : ((state & MF_GRAYED) ? "grayed" : "enabled"));
        }
    }
    HICON icon = LoadIconA(module, "Vop_Icon");
    std::printf("icon=%d\n", icon ? 1 : 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 64;
    const std::string verb = argv[1];
    if (verb == "info") return Info();
    if (verb == "box") return Box();
    if (verb == "press" && argc > 2) return Press(std::atoi(argv[2]));
    if (verb == "command" && argc > 2) return PostMessageA(MainWindow(), WM_COMMAND, std::atoi(argv[2]), 0) ? 0 : 1;
    if (verb == "syscommand" && argc > 2)
        return PostMessageA(MainWindow(), WM_SYSCOMMAND, std::atoi(argv[2]), 0) ? 0 : 1;
    if (verb == "place" && argc > 5)
        return SetWindowPos(MainWindow(), nullptr, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                            std::atoi(argv[5]), SWP_NOZORDER | SWP_NOACTIVATE) ? 0 : 1;
    if (verb == "maximize") return ShowWindowAsync(MainWindow(), SW_MAXIMIZE) ? 0 : 1;
    if (verb == "memory") return Memory();
    if (verb == "hold" && argc > 3) return Hold(argv[2], std::atoi(argv[3]));
    if (verb == "post" && argc > 2) return PostMessageA(MainWindow(), std::atoi(argv[2]), 0, 0) ? 0 : 1;
    if (verb == "sendkeys" && argc > 2) return SendKeys(argc - 2, argv + 2);
    if (verb == "menu-resource" && argc > 2) return MenuResource(argv[2]);
    if (verb == "drop" && argc > 2) return Drop(argc - 2, argv + 2);
    return 64;
}
