// Prints the running Vop's memory now: working set and private bytes, in KiB.
// bench/memory_bench.sh asks it while the program pages through a file.
#include <windows.h>
#include <psapi.h>

#include <cstdio>

int main() {
    HWND vop = FindWindowW(L"Vop", nullptr);
    DWORD pid = 0;
    if (!vop || !GetWindowThreadProcessId(vop, &pid)) return 1;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    PROCESS_MEMORY_COUNTERS_EX c = {};
    if (!process || !GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&c), sizeof c)) return 2;
    std::printf("workingset_kib=%zu\nprivate_kib=%zu\npeak_workingset_kib=%zu\n", c.WorkingSetSize / 1024,
                c.PrivateUsage / 1024, c.PeakWorkingSetSize / 1024);
    CloseHandle(process);
    return 0;
}
