// The system's calls that Vop needs only now and then: the Open dialog, a
// dropped file, a sound, the help page, the About box's fade, COM, and a
// screen reader's questions. Their DLLs are loaded at the first such call,
// from the system folder only, not when the program starts: under Wine each
// DLL a program imports costs its start before the first window shows. Each
// stands in for the system call of the same name, and fails as that call
// fails when its DLL or function cannot be found.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <oleacc.h>
#include <shellapi.h>

namespace vop::shell::late {

BOOL GetOpenFileNameW(OPENFILENAMEW* dialog);
BOOL PlaySoundW(LPCWSTR sound, HMODULE module, DWORD flags);
HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder, INT show);
UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR name, UINT length);
void DragFinish(HDROP drop);
BOOL AlphaBlend(HDC target, int x, int y, int w, int h, HDC source, int sx, int sy, int sw, int sh, BLENDFUNCTION blend);
HRESULT AccessibleObjectFromWindow(HWND window, DWORD object, REFIID id, void** out);
LRESULT LresultFromObject(REFIID id, WPARAM flags, LPUNKNOWN object);
BSTR SysAllocString(const OLECHAR* text);

// COM on this thread, single-threaded, from its first need (the help page may
// go to a shell extension, the Open dialog shows the shell's folders, a screen
// reader's object is marshalled) until the program ends.
void NeedCom();
void EndCom();

}  // namespace vop::shell::late
