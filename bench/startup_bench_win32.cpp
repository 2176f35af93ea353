// Start-up to the first painted window: Vop.exe against an empty Win32 window
// program built the same way, and against a framed window (the empty one with
// a menu bar, a status bar and a flat scroll bar: the parts of Vop's frame
// the system draws), launched in turn in the same run (the Wine server stays
// up between launches, so all start warm).
//
// A launch counts as started when
//   1. WaitForInputIdle returns: the program's thread first waited for input
//      with an empty queue, i.e. it reached its message loop, and
//   2. a visible top-level window of the expected class belongs to the process
//      and neither it nor any child has a pending update region: the first
//      paint of every window has happened (guards against a program that
//      waits for input before it shows its window).
// The clock runs from CreateProcess to the moment both hold. Each program is
// then closed with WM_CLOSE, as a user's close box would.
//
// usage: startup_bench VOP_EXE EMPTY_EXE FRAMED_EXE [LAUNCHES]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support_win32.h"

namespace {

using vop::bench::Median;
using vop::bench::Stopwatch;

struct Search {
    DWORD process = 0;
    const char* className = nullptr;
    HWND found = nullptr;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !IsWindowVisible(window)) return TRUE;
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, search->className) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK FindPendingPaint(HWND child, LPARAM param) {
    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(param) = true;
        return FALSE;
    }
    return TRUE;
}

bool FullyPainted(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) return false;
    bool pending = false;
    EnumChildWindows(window, FindPendingPaint, reinterpret_cast<LPARAM>(&pending));
    return !pending;
}

struct Launch {
    bool ok = false;
    double idle = 0;     // ms to WaitForInputIdle
    double painted = 0;  // ms to a visible, fully painted window
    RECT rect{};
};

Launch Start(const std::string& exe, const std::string& arguments, const char* className) {
    Launch result;
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};

    Stopwatch clock;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
        return result;
    }
    const DWORD waited = WaitForInputIdle(process.hProcess, 20000);
    result.idle = clock.milliseconds();

    Search search{process.dwProcessId, className, nullptr};
    for (;;) {
        search.found = nullptr;
        EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
        if (search.found && FullyPainted(search.found)) break;
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0 || clock.milliseconds() > 20000) {
            std::fprintf(stderr, "%s showed no painted %s window (input idle: %s)\n", exe.c_str(), className,
                         waited == 0 ? "yes" : "no");
            break;
        }
        SwitchToThread();
    }
    result.painted = clock.milliseconds();
    if (search.found) {
        result.ok = true;
        GetWindowRect(search.found, &result.rect);
        PostMessageA(search.found, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "%s did not end after WM_CLOSE; terminated\n", exe.c_str());
        TerminateProcess(process.hProcess, 1);
        result.ok = false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_bench VOP_EXE EMPTY_EXE FRAMED_EXE [LAUNCHES]\n");
        return 64;
    }
    const std::string vopExe = argv[1], emptyExe = argv[2], framedExe = argv[3];
    const int launches = argc > 4 ? std::max(1, std::atoi(argv[4])) : 15;

    // The first launch of each loads its pages and the server's caches; it is not counted.
    const Launch first = Start(vopExe, "", "Vop");
    if (!first.ok) return 1;
    // The empty window takes Vop's outer size, so both paint the same area.
    const std::string size = std::to_string(first.rect.right - first.rect.left) + " " +
                             std::to_string(first.rect.bottom - first.rect.top);
    if (!Start(emptyExe, size, "VopEmptyWindow").ok || !Start(framedExe, size, "VopEmptyWindow").ok) return 1;

    std::vector<double> vopPainted, vopIdle, emptyPainted, emptyIdle, framedPainted;
    for (int i = 0; i < launches; ++i) {
        const Launch v = Start(vopExe, "", "Vop");
        const Launch e = Start(emptyExe, size, "VopEmptyWindow");
        const Launch f = Start(framedExe, size, "VopEmptyWindow");
        if (!v.ok || !e.ok || !f.ok) return 1;
        vopPainted.push_back(v.painted);
        vopIdle.push_back(v.idle);
        emptyPainted.push_back(e.painted);
        emptyIdle.push_back(e.idle);
        framedPainted.push_back(f.painted);
    }

    const double vp = Median(vopPainted), ep = Median(emptyPainted), fp = Median(framedPainted);
    std::printf("window %ld x %ld, %d launches each (after one untimed launch each), milliseconds:\n",
                first.rect.right - first.rect.left, first.rect.bottom - first.rect.top, launches);
    std::printf("  Vop.exe:          median %.1f to a painted window (min %.1f; input idle %.1f)\n", vp,
                vop::bench::Minimum(vopPainted), Median(vopIdle));
    std::printf("  empty window:     median %.1f to a painted window (min %.1f; input idle %.1f)\n", ep,
                vop::bench::Minimum(emptyPainted), Median(emptyIdle));
    std::printf("  framed window:    median %.1f to a painted window (min %.1f)\n", fp,
                vop::bench::Minimum(framedPainted));
    std::printf("  Vop.exe - empty:  %.1f (ratio %.2f); framed - empty: %.1f; Vop.exe - framed: %.1f\n", vp - ep,
                ep > 0 ? vp / ep : 0.0, fp - ep, vp - fp);
    std::printf("TABLE|start-up to first painted window|Vop.exe %.0f ms|empty window %.0f ms (%+.0f ms), framed window "
                "%.0f ms (%+.0f ms)|report\n", vp, ep, vp - ep, fp, vp - fp);
    return 0;
}
