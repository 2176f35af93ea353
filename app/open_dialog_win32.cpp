#include "app/open_dialog_win32.h"

#include <commdlg.h>

#include <vector>

#include "app/shell_win32.h"
#include "document/page_window.h"
#include "document/saving.h"

namespace vop::shell {

void ShowOpenDialog(HWND owner) {
    // A generous name buffer: a long pick must reach the open operation whole,
    // which refuses it by name rather than opening a shorter path.
    std::vector<char> name(32768, '\0');
    OPENFILENAMEA ofn = {};
    const bool oldWindows = LOBYTE(LOWORD(GetVersion())) < 5;
    ofn.lStructSize = oldWindows ? OPENFILENAME_SIZE_VERSION_400A : sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = "All Files\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrInitialDir = ".";
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!oldWindows) ofn.FlagsEx = OFN_EX_NOPLACESBAR;
    if (!GetOpenFileNameA(&ofn)) return;

    EditorState& s = Editor();
    s.FindPatternLength = 0;
    if (OpenDocument(s, name.data(), 0)) CheckWritable(s);
}

}  // namespace vop::shell
