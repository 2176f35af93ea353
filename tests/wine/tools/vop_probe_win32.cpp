// Test helper that runs beside Vop.exe under the same Wine server. It reads what
// a user sees (title, status bar, message boxes, window places) and does what
// the desktop would (menu commands, dropped files, key presses). Arguments are
// taken wide and texts printed as UTF-8, so file names in any script pass
// through unchanged. A program that does not answer within
// two seconds leaves its status bar out of `info`.
// Usage: vop_probe info | press <button> | command <id> | post <message> [wparam]
//        | size <w> <h> | wheel <delta> | sendkeys <vk>... | type <text> | drop <path>...
//        | clip <text> [locale] | resources | lock <path> <ms> <share> | chord <vk>...
//        | send main|field<n> <message> <wparam> <lparam>|image | acc [end] | events
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
#include <psapi.h>
#include <winternl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

using namespace std;

namespace {

wstring Text(HWND window) {
    wstring text(2048, L'\0');
    return text.substr(0, GetWindowTextW(window, text.data(), 2048));
}

HANDLE ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid);
}

// A copy of `data` in the program's memory, for messages that carry a pointer.
// (The probe ends right after its one verb: its handles close with it.)
void* Remote(HANDLE process, const void* data, SIZE_T size) {
    void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    WriteProcessMemory(process, remote, data, size, nullptr);
    return remote;
}

// The first visible dialog or message box of the program's one thread.
HWND ProgramDialog(HWND main) {
    for (HWND d = nullptr; main && (d = FindWindowExW(nullptr, d, L"#32770", nullptr)) != nullptr;)
        if (GetWindowThreadProcessId(d, nullptr) == GetWindowThreadProcessId(main, nullptr) && IsWindowVisible(d))
            return d;
    return nullptr;
}

// A window's client area on the screen.
RECT Place(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, (POINT*)&r, 2);
    return r;
}

void PrintRect(const wstring& key, RECT r) {
    wprintf(L"%ls=%ld,%ld,%ld,%ld\n", key.c_str(), r.left, r.top, r.right, r.bottom);
}


// The program's own fields of a dialog, in the order they were made: the controls it gave no id.
HWND Field(HWND box, int n) {
    for (HWND c = nullptr; (c = FindWindowExW(box, c, nullptr, nullptr)) != nullptr;)
        if (GetDlgCtrlID(c) == 0 && n-- == 0) return c;
    return nullptr;
}

// Whether a field lies inside its dialog's client area, sharing no pixel with another control.
bool Clear(HWND box, HWND field) {
    RECT f = Place(field), r = Place(box), x{};
    bool clear = UnionRect(&x, &f, &r) && EqualRect(&x, &r);
    for (HWND c = nullptr; clear && (c = FindWindowExW(box, c, nullptr, nullptr)) != nullptr;)
        clear = c == field || !IntersectRect(&x, &f, &(r = Place(c)));
    return clear;
}

int Info(HWND main) {
    DWORD_PTR none = 0;  // a program that cannot take a message within 5 s hangs
    wprintf(L"answered=%d\n", SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &none) != 0);
    if (HWND box = ProgramDialog(main)) {
        wprintf(L"box=%p\nboxtitle=%ls\nboxtext=%ls\n", (void*)box, Text(box).c_str(),
                     Text(GetDlgItem(box, 0xFFFF)).c_str());
        PrintRect(L"boxclient", Place(box));
        // Its controls' client areas on the screen: the program's own fields as field0.., others by id.
        for (HWND c = nullptr; (c = FindWindowExW(box, c, nullptr, nullptr)) != nullptr;)
            PrintRect(L"item" + to_wstring(GetDlgCtrlID(c)), Place(c));
        GUITHREADINFO gui{sizeof gui};
        GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &gui);
        if (GetDlgCtrlID(gui.hwndFocus)) wprintf(L"focus=item%d\n", GetDlgCtrlID(gui.hwndFocus));
        int clashes = 0;  // fields out of the client area or over another control
        for (int n = 0; HWND field = Field(box, n); ++n) {
            // What a screen reader learns of it: its text through the standard
            // message; the window's own text, read without asking the field,
            // and the label that comes before it.
            wchar_t text[300] = {};
            SendMessageW(field, WM_GETTEXT, 300, LPARAM(text));
            PrintRect(L"field" + to_wstring(n), Place(field));
            wprintf(L"text%d=%ls\nown%d=%ls\nlabel%d=%ls\n", n, text, n, Text(field).c_str(), n,
                    Text(GetWindow(field, GW_HWNDPREV)).c_str());
            clashes += !Clear(box, field);
            if (field == gui.hwndFocus) wprintf(L"focus=field%d\n", n);
        }
        wprintf(L"clashes=%d\n", clashes);
    }
    // A modal box or dialog disables the main window before it is made, and
    // shows only once its queue is first empty: a disabled window with no box
    // in sight means one is on its way.
    wprintf(L"enabled=%d\n", IsWindowEnabled(main));
    if (!IsWindowVisible(main)) return 0;  // still being made: its place and size are not final
    RECT r{}, data = Place(FindWindowExW(main, nullptr, L"VopDataField", nullptr)), client = Place(main);
    GetWindowRect(main, &r);
    wprintf(L"title=%ls\n", Text(main).c_str());
    PrintRect(L"window", r);
    IntersectRect(&data, &data, &client);  // the part that shows
    PrintRect(L"data", data);
    HWND bar = FindWindowExW(main, nullptr, STATUSCLASSNAMEW, nullptr);
    HANDLE process = ProcessOf(main);
    wchar_t text[4096] = {};
    void* remote = Remote(process, text, sizeof text);
    DWORD_PTR parts = 0;
    bool answered = remote && SendMessageTimeoutW(bar, SB_GETPARTS, 0, 0, SMTO_ABORTIFHUNG, 2000, &parts);
    if (answered) wprintf(L"parts=%d\n", int(parts));
    for (int i = 0; answered && i < int(parts) && i < 2; ++i) {
        answered = SendMessageTimeoutW(bar, SB_GETTEXTW, i, LPARAM(remote), SMTO_ABORTIFHUNG, 2000,
                                       nullptr);
        if (answered && ReadProcessMemory(process, remote, text, sizeof text - 2, nullptr))
            wprintf(L"status%d=%ls\n", i, text);
    }
    // The buffer is the program's memory, which would grow with every look:
    // given back, unless a message that may still write into it went unanswered.
    if (answered) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return 0;
}

// A drop as the shell delivers it: a DROPFILES block of UTF-16 names in the program's memory.
bool Drop(HWND main, int count, wchar_t** paths) {
    DROPFILES header = {sizeof header, {0, 0}, FALSE, TRUE};
    wstring block((wchar_t*)&header, sizeof header / sizeof(wchar_t));
    for (int i = 0; i < count; ++i) block.append(paths[i]).push_back(L'\0');
    block.push_back(L'\0');
    void* remote = Remote(ProcessOf(main), block.data(), block.size() * sizeof(wchar_t));
    return remote && PostMessageW(main, WM_DROPFILES, WPARAM(remote), 0);
}

// Key presses through the system's input queue, to the window with the focus.
// (Lock keys pressed through the X server are switched back by Wine's own
// lock-state check on the next key; keys sent here keep their toggle.)
int SendKeys(int count, wchar_t** codes) {
    for (int i = 0; i < count; ++i, Sleep(60)) {
        keybd_event(BYTE(_wtoi(codes[i])), 0, 0, 0);
        keybd_event(BYTE(_wtoi(codes[i])), 0, KEYEVENTF_KEYUP, 0);
    }
    return 0;
}

// Characters typed through the system's input queue, as an on-screen keyboard
// types them: each arrives as itself, whatever the keyboard layout (X input
// cannot type every character reliably).
int Type(const wchar_t* text) {
    for (; *text; ++text)
        for (DWORD flags : {KEYEVENTF_UNICODE, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = *text;
            input.ki.dwFlags = flags;
            SendInput(1, &input, sizeof input);
        }
    return 0;
}

// Keys held together, pressed in order and let go in reverse: Ctrl and Alt
// together are what Windows reports for AltGr.
int Chord(int count, wchar_t** codes) {
    for (int i = 0; i < count; ++i) keybd_event(BYTE(_wtoi(codes[i])), 0, 0, 0);
    for (int i = count; i-- > 0;) keybd_event(BYTE(_wtoi(codes[i])), 0, KEYEVENTF_KEYUP, 0);
    return 0;
}

// A message sent as another program sends it, to the main window or a field
// of the dialog in front; "image" for lParam stands for the address of Vop's
// own image, which a handler taking lParam for a pointer could read.
int Send(HWND main, HWND dialog, const wstring& target, UINT message, WPARAM w, const wstring& l) {
    HWND to = target == L"main" ? main : Field(dialog, _wtoi(target.c_str() + 5));
    LPARAM lParam = l == L"image" ? GetWindowLongPtrW(main, GWLP_HINSTANCE) : _wtoi(l.c_str());
    DWORD_PTR result = 0;
    return !SendMessageTimeoutW(to, message, w, lParam, SMTO_NORMAL, 5000, &result);
}

// What a screen reader reads of the data window, through the object Vop
// gives for it: its name, value, role, state and place. With "end", it keeps
// the object until Vop has ended and asks again: the answer is an error, and
// nobody crashes.
int Acc(HWND data, bool end) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(data, DWORD(OBJID_CLIENT), IID_IAccessible,
                                          (void**)&object)) || !object)
        return 1;
    VARIANT self{}, role{}, state{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr, value = nullptr;
    long x = 0, y = 0, w = 0, h = 0;
    object->get_accName(self, &name);
    object->get_accValue(self, &value);
    object->get_accRole(self, &role);
    object->get_accState(self, &state);
    object->accLocation(&x, &y, &w, &h, self);
    wprintf(L"name=%ls\nvalue=%ls\nrole=%ld\nstate=%ld\nlocation=%ld,%ld,%ld,%ld\n", name ? name : L"",
            value ? value : L"", role.lVal, state.lVal, x, y, x + w, y + h);
    fflush(stdout);
    for (int i = 0; end && IsWindow(data) && i < 600; ++i) Sleep(50);
    if (end) wprintf(L"late=%08lX\n", static_cast<unsigned long>(object->get_accName(self, &name)));
    object->Release();
    return 0;
}

// What a screen reader hears of the data window: the name and value changes
// Vop raises for it, counted until the data window next gets the focus (the
// caller's mark that its steps are done), and the name then.
struct Heard {
    HWND data;
    int names, values;
} heard;

void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD) {
    if (window != heard.data || object != OBJID_CLIENT) return;
    heard.names += event == EVENT_OBJECT_NAMECHANGE;
    heard.values += event == EVENT_OBJECT_VALUECHANGE;
    if (event == EVENT_OBJECT_FOCUS) PostQuitMessage(0);  // events arrive inside the wait: end it
}

int Events(HWND data) {
    DWORD process = 0;
    GetWindowThreadProcessId(data, &process);
    heard.data = data;
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // a queue for the events to arrive in
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr, Hear, process, 0,
                                         WINEVENT_OUTOFCONTEXT);
    wprintf(L"hooked\n");
    fflush(stdout);
    SetTimer(nullptr, 0, 60000, nullptr);  // a mark that never comes ends it, with what was heard
    while (GetMessageW(&msg, nullptr, 0, 0) > 0 && msg.message != WM_TIMER) DispatchMessageW(&msg);
    UnhookWinEvent(hook);
    wprintf(L"names=%d\nvalues=%d\n", heard.names, heard.values);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return Acc(data, false);
}

HGLOBAL Block(const void* data, SIZE_T size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory) {
        CopyMemory(GlobalLock(memory), data, size);
        GlobalUnlock(memory);
    }
    return memory;
}

// Text on the clipboard, as another program puts it there; with a locale, the
// one the system converts it to 8-bit text by.
bool Clip(const wchar_t* text, LCID locale) {
    if (!OpenClipboard(nullptr)) return false;
    bool set = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, Block(text, (wcslen(text) + 1) * sizeof(wchar_t)));
    if (locale) set = set && SetClipboardData(CF_LOCALE, Block(&locale, sizeof locale));
    return CloseClipboard() && set;
}

// The GDI objects a process holds. Wine answers GetGuiResources with 0 but
// keeps the handle table the system shares with each process: count its entries.
int GdiObjects(HANDLE process) {
    int count = int(GetGuiResources(process, GR_GDIOBJECTS));
    static BYTE table[0x10000][24];  // entries of 24 bytes: object, owner, unique, then the type at byte 14
    PROCESS_BASIC_INFORMATION basic{};
    void* shared = nullptr;
    if (count == 0 && NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) == 0 &&
        ReadProcessMemory(process, (char*)basic.PebBaseAddress + 0xF8, &shared, sizeof shared,
                          nullptr) &&
        ReadProcessMemory(process, shared, table, sizeof table, nullptr))
        for (const BYTE* e : table) count += e[14] != 0;
    return count;
}

// What the program holds: GDI and USER objects, its windows, its working set in KiB.
int Resources(HWND main) {
    HANDLE process = ProcessOf(main);
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(process, &memory, sizeof memory);
    int windows = 0;
    EnumThreadWindows(GetWindowThreadProcessId(main, nullptr), [](HWND w, LPARAM n) -> BOOL {
        *(int*)n += 1;
        EnumChildWindows(w, [](HWND, LPARAM m) -> BOOL { return ++*(int*)m > 0; }, n);
        return TRUE;
    }, LPARAM(&windows));
    wprintf(L"gdi=%d\nuser=%lu\nwindows=%d\nws=%zu\n", GdiObjects(process), GetGuiResources(process, GR_USEROBJECTS),
            windows, memory.WorkingSetSize / 1024);
    return !CloseHandle(process);
}

// Another program holding the file for a while: with share 0 nobody else may
// open it, with 1 others may read it but not write it.
int Lock(const wchar_t* path, int ms, int share) {
    HANDLE file = CreateFileW(path, GENERIC_READ, share ? FILE_SHARE_READ : 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    Sleep(DWORD(ms));
    return !CloseHandle(file);
}

}  // namespace

int main() {
    _setmode(_fileno(stdout), _O_U8TEXT);  // wide texts go out as UTF-8
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    wstring verb = argc > 1 ? argv[1] : L"";
    auto number = [&](int i) { return i < argc ? _wtoi(argv[i]) : 0; };
    HWND vop = FindWindowW(L"Vop", nullptr), dialog = ProgramDialog(vop);
    if (verb == L"sendkeys") return SendKeys(argc - 2, argv + 2);
    if (verb == L"chord") return Chord(argc - 2, argv + 2);
    if (verb == L"type" && argc > 2) return Type(argv[2]);
    if (verb == L"lock" && argc > 4) return Lock(argv[2], number(3), number(4));
    if (verb == L"clip") return !Clip(argc > 2 ? argv[2] : L"", number(3));
    if (!vop) return 1;
    HWND data = FindWindowExW(vop, nullptr, L"VopDataField", nullptr);
    if (verb == L"info") return Info(vop);
    if (verb == L"acc") return CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), Acc(data, argc > 2);

    if (verb == L"events") return Events(data);
    if (verb == L"resources") return Resources(vop);
    if (verb == L"press" || verb == L"command")  // a dialog's button, a menu command
        return !PostMessageW(verb == L"press" ? dialog : vop, WM_COMMAND, number(2), 0);
    if (verb == L"post") return !PostMessageW(vop, number(2), number(3), 0);
    if (verb == L"size")  // the data window alone, whatever room the main window gives it
        return !SetWindowPos(data, nullptr, 0, 0, number(2), number(3), SWP_NOZORDER | SWP_NOMOVE);
    if (verb == L"wheel")  // one step of a wheel or touchpad, of any size
        return !PostMessageW(data, WM_MOUSEWHEEL, MAKEWPARAM(0, number(2)), 0);
    if (verb == L"drop") return !Drop(vop, argc - 2, argv + 2);
    if (verb == L"send" && argc > 5) return Send(vop, dialog, argv[2], number(3), number(4), argv[5]);
    return 64;
}
