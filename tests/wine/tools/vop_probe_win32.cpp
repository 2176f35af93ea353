// Test helper that runs beside Vop.exe under the same Wine server. It reads what
// a user sees (title, status bar, message boxes, window places) and does what the
// desktop would (menu commands, dropped files, a file held open by another
// program). Arguments are taken wide and texts printed as UTF-8, so file names
// in any script pass through unchanged.
// Usage: vop_probe info | press <id> | command <id> | post <message> [wparam] | place <x> <y> <w> <h>
//        | sendkeys <vk>... | drop <path>... | hold <path> <seconds> | memory
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
    char out[8192] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out - 1, nullptr, nullptr);
    return out;
}

std::string Text(HWND window) {
    wchar_t text[2048] = {};
    if (window) GetWindowTextW(window, text, 2048);
    return Utf8(text);
}

DWORD Pid(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

// Asks the program's window, giving up after two seconds so a busy program
// makes the probe report "busy" instead of hanging the test.
LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &answer)) std::printf("busy=1\n");
    return static_cast<LRESULT>(answer);
}

int Post(HWND window, UINT message, WPARAM w) { return window && PostMessageW(window, message, w, 0) ? 0 : 1; }

// Memory in the program's process, for messages that carry a pointer. (The probe
// ends right after its one verb: its handles close with it.)
void* Remote(HWND window, SIZE_T size, HANDLE* process) {
    *process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, Pid(window));
    return *process ? VirtualAllocEx(*process, nullptr, size, MEM_COMMIT, PAGE_READWRITE) : nullptr;
}

std::string StatusPart(HWND bar, int part) {
    HANDLE process = nullptr;
    wchar_t text[4096] = {};
    if (void* remote = Remote(bar, sizeof text, &process)) {
        Ask(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, text, sizeof text - sizeof(wchar_t), nullptr);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    return Utf8(text);
}

// The first visible dialog or message box of the program's process.
HWND ProgramDialog(HWND main) {
    for (HWND d = nullptr; main && (d = FindWindowExW(nullptr, d, L"#32770", nullptr)) != nullptr;)
        if (Pid(d) == Pid(main) && IsWindowVisible(d)) return d;
    return nullptr;
}

void PrintRect(const char* key, RECT r) { std::printf("%s=%ld,%ld,%ld,%ld\n", key, r.left, r.top, r.right, r.bottom); }

int Info(HWND main) {
    std::printf("running=%d\n", main ? 1 : 0);
    if (!main) return 0;
    std::printf("title=%s\nzoomed=%d\n", Text(main).c_str(), IsZoomed(main) ? 1 : 0);
    RECT r{};
    GetWindowRect(main, &r);
    PrintRect("window", r);
    if (HWND data = FindWindowExW(main, nullptr, L"VopDataField", nullptr)) {
        GetClientRect(data, &r);
        MapWindowPoints(data, nullptr, reinterpret_cast<POINT*>(&r), 2);
        PrintRect("data", r);
    }
    if (HWND bar = FindWindowExW(main, nullptr, STATUSCLASSNAMEW, nullptr)) {
        const int parts = static_cast<int>(Ask(bar, SB_GETPARTS, 0, 0));
        std::printf("parts=%d\n", parts);
        for (int i = 0; i < parts && i < 4; ++i) std::printf("status%d=%s\n", i, StatusPart(bar, i).c_str());
    }
    if (HWND box = ProgramDialog(main))
        std::printf("box=%p\nboxtitle=%s\nboxtext=%s\n", static_cast<void*>(box), Text(box).c_str(),
                    Text(GetDlgItem(box, 0xFFFF)).c_str());
    return 0;
}

// A drop as the shell delivers it: a DROPFILES block of UTF-16 names in the program's memory.
int Drop(HWND main, int count, wchar_t** paths) {
    DROPFILES header = {sizeof header, {0, 0}, FALSE, TRUE};
    std::wstring block(reinterpret_cast<wchar_t*>(&header), sizeof header / sizeof(wchar_t));
    for (int i = 0; i < count; ++i) block.append(paths[i], std::wcslen(paths[i]) + 1);
    block.push_back(L'\0');
    const SIZE_T size = block.size() * sizeof block[0];
    HANDLE process = nullptr;
    void* remote = Remote(main, size, &process);
    if (!remote || !WriteProcessMemory(process, remote, block.data(), size, nullptr)) return 3;
    return Post(main, WM_DROPFILES, reinterpret_cast<WPARAM>(remote));
}

// Key presses through the system's input queue, to the window with the focus.
// (Lock keys pressed through the X server are switched back by Wine's own
// lock-state check on the next key; keys sent here keep their toggle.)
int SendKeys(int count, wchar_t** codes) {
    for (int i = 0; i < count; ++i) {
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wVk = in[1].ki.wVk = static_cast<WORD>(_wtoi(codes[i]));
        in[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, in, sizeof(INPUT));
        Sleep(60);
    }
    return 0;
}

// Keeps a file open, sharing it for reading only, so that no one can open it
// for writing meanwhile (a file locked by another program).
int Hold(const wchar_t* path, int seconds) {
    if (CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr) == INVALID_HANDLE_VALUE)
        return 1;
    std::printf("held\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    return 0;
}

// The program's memory now: working set and private bytes, in KiB.
int Memory(HWND main) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, Pid(main));
    PROCESS_MEMORY_COUNTERS_EX c = {};
    if (!main || !GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&c), sizeof c)) return 3;
    std::printf("workingset_kib=%zu\nprivate_kib=%zu\npeak_workingset_kib=%zu\n", c.WorkingSetSize / 1024,
                c.PrivateUsage / 1024, c.PeakWorkingSetSize / 1024);
    return 0;
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) return 64;
    const std::wstring verb = argv[1];
    auto number = [&](int i) { return i < argc ? _wtoi(argv[i]) : 0; };
    HWND vop = FindWindowW(L"Vop", nullptr);
    if (verb == L"info") return Info(vop);
    if (verb == L"press") return Post(ProgramDialog(vop), WM_COMMAND, number(2));
    if (verb == L"command") return Post(vop, WM_COMMAND, number(2));
    if (verb == L"post") return Post(vop, number(2), number(3));
    if (verb == L"place")
        return SetWindowPos(vop, nullptr, number(2), number(3), number(4), number(5), SWP_NOZORDER) ? 0 : 1;
    if (verb == L"sendkeys") return SendKeys(argc - 2, argv + 2);
    if (verb == L"drop" && vop) return Drop(vop, argc - 2, argv + 2);
    if (verb == L"hold" && argc > 3) return Hold(argv[2], number(3));
    if (verb == L"memory") return Memory(vop);
    return 64;
}
