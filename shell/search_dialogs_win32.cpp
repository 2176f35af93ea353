#include "shell/search_dialogs_win32.h"

#include <cstdint>

#include "entry_fields/pattern_field_model.h"
#include "resources/resource_ids.h"
#include "search/find_replace.h"
#include "shell/pattern_field_win32.h"
#include "shell/shell_win32.h"

namespace vop::shell {
namespace {

struct Pattern {
    std::uint8_t bytes[PatternFieldCapacity] = {};
    std::int32_t length = 0;
};

// A pair of rows at the given pixel rows of the dialog's client area; each
// names the other through the dialog's handle variables, the hex row not
// made yet when the character row is.
void MakePair(HWND dialog, FieldDialog& d, std::size_t first, int asciiY, int hexY) {
    constexpr int x = 40;
    d.fields[first] = CreatePatternField(dialog, false, &d.fields[first + 1], x, asciiY);
    d.fields[first + 1] = CreatePatternField(dialog, true, &d.fields[first], x, hexY);
}

Pattern Read(HWND row) {
    Pattern p;
    p.length = GetPatternBytes(row, p.bytes);
    return p;
}

// The dialog stays up while the search runs, owning its boxes, but out of
// the way of the data it moves over.
void Hide(HWND dialog) { MoveWindow(dialog, 0, 0, 0, 0, TRUE); }

HWND OpenFind(HWND dialog, FieldDialog& d) {
    FindDialogOpened(Editor());
    MakePair(dialog, d, 0, 30, 64);
    return d.fields[0];
}

bool AcceptFind(HWND dialog, FieldDialog& d) {
    const Pattern pattern = Read(d.fields[0]);
    Hide(dialog);
    RunFind(Editor(), pattern.bytes, pattern.length);
    return true;
}

HWND OpenReplace(HWND dialog, FieldDialog& d) {
    MakePair(dialog, d, 0, 32, 54);
    MakePair(dialog, d, 2, 113, 135);
    return d.fields[0];
}

bool AcceptReplace(HWND dialog, FieldDialog& d) {
    EditorState& s = Editor();
    const Pattern search = Read(d.fields[0]), replacement = Read(d.fields[2]);
    if (!ReplaceMayStart(s, search.length, replacement.length)) return false;
    Hide(dialog);
    if (SendDlgItemMessageA(dialog, IDC_REPLACE_ALL, BM_GETCHECK, 0, 0) == BST_CHECKED)
        ReplaceAll(s, search.bytes, replacement.bytes, search.length);
    else
        ReplaceOneByOne(s, search.bytes, replacement.bytes, search.length);
    return true;
}

}  // namespace

FieldDialog FindDialog() { return {"FindDialog", OpenFind, AcceptFind}; }
FieldDialog ReplaceDialog() { return {"ReplaceDialog", OpenReplace, AcceptReplace}; }

}  // namespace vop::shell
