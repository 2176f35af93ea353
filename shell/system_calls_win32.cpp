#include "shell/system_calls_win32.h"

#include <mmsystem.h>

namespace vop::shell::late {
namespace {

// The function `name` of the system DLL `dll`, loaded now if no one has yet.
template <class Function>
Function* Find(const wchar_t* dll, const char* name) {
    HMODULE module = GetModuleHandleW(dll);
    if (!module) module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) return nullptr;
    // Through a pointer to a function of no arguments, which any function
    // pointer may pass through.
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

#define VOP_FIND(dll, function) Find<decltype(::function)>(dll, #function)

// Whether NeedCom started COM on this thread, so that EndCom ends it once.
bool& ComStarted() {
    static bool started = false;  // the program's one thread
    return started;
}

}  // namespace

BOOL GetOpenFileNameW(OPENFILENAMEW* dialog) {
    auto* call = VOP_FIND(L"comdlg32.dll", GetOpenFileNameW);
    return call ? call(dialog) : FALSE;
}

BOOL PlaySoundW(LPCWSTR sound, HMODULE module, DWORD flags) {
    auto* call = VOP_FIND(L"winmm.dll", PlaySoundW);
    return call ? call(sound, module, flags) : FALSE;
}

HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder, INT show) {
    auto* call = VOP_FIND(L"shell32.dll", ShellExecuteW);
    return call ? call(owner, verb, file, parameters, folder, show) : reinterpret_cast<HINSTANCE>(SE_ERR_DLLNOTFOUND);
}

UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR name, UINT length) {
    auto* call = VOP_FIND(L"shell32.dll", DragQueryFileW);
    return call ? call(drop, index, name, length) : 0;
}

void DragFinish(HDROP drop) {
    if (auto* call = VOP_FIND(L"shell32.dll", DragFinish)) call(drop);
}

BOOL AlphaBlend(HDC target, int x, int y, int w, int h, HDC source, int sx, int sy, int sw, int sh, BLENDFUNCTION blend) {
    auto* call = VOP_FIND(L"msimg32.dll", AlphaBlend);
    return call ? call(target, x, y, w, h, source, sx, sy, sw, sh, blend) : FALSE;
}

HRESULT AccessibleObjectFromWindow(HWND window, DWORD object, REFIID id, void** out) {
    auto* call = VOP_FIND(L"oleacc.dll", AccessibleObjectFromWindow);
    return call ? call(window, object, id, out) : E_NOTIMPL;
}

LRESULT LresultFromObject(REFIID id, WPARAM flags, LPUNKNOWN object) {
    auto* call = VOP_FIND(L"oleacc.dll", LresultFromObject);
    return call ? call(id, flags, object) : E_NOTIMPL;
}

BSTR SysAllocString(const OLECHAR* text) {
    auto* call = VOP_FIND(L"oleaut32.dll", SysAllocString);
    return call ? call(text) : nullptr;
}

void NeedCom() {
    if (ComStarted()) return;
    auto* call = VOP_FIND(L"ole32.dll", CoInitializeEx);
    ComStarted() = call && SUCCEEDED(call(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

void EndCom() {
    if (!ComStarted()) return;
    if (auto* call = VOP_FIND(L"ole32.dll", CoUninitialize)) call();
    ComStarted() = false;
}

}  // namespace vop::shell::late
