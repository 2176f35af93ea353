#include "shell/settings_dialogs_win32.h"

#include <memory>

#include "app/operation.h"
#include "app/settings_choices.h"
#include "entry_fields/edit_field_model.h"
#include "resources/resource_ids.h"
#include "shell/entry_fields_win32.h"
#include "shell/main_window_win32.h"
#include "shell/shell_win32.h"

namespace vop::shell {
namespace {

// Three bytes, red, green, blue, shown as RRGGBB: 3 bytes of 2 digits of 8
// pixels, and room for the edge and the caret.
HWND MakeColourField(HWND dialog, int y, std::uint32_t colour) {
    constexpr int FieldLeft = 75, FieldWidth = 3 * 2 * 8 + 11, FieldHeight = 18;
    HWND field = CreateEntryField(dialog, EditFieldClassName,
                                  std::make_unique<EditFieldState>(MakeEditFieldState(1, 0, 3)), FieldLeft, y,
                                  FieldWidth, FieldHeight);
    const ColourBytes bytes = BytesOfColour(colour);
    SetEditFieldValue(field, bytes.data());
    return field;
}

HWND MakeColourFields(HWND dialog, FieldDialog& d) {
    const Settings& settings = Editor().settings;
    d.fields[0] = MakeColourField(dialog, 9, settings.ForegroundColor);
    d.fields[1] = MakeColourField(dialog, 35, settings.BackgroundColor);
    return d.fields[0];
}

ColourBytes FieldColour(HWND field, std::uint32_t unchanged) {
    ColourBytes bytes = BytesOfColour(unchanged);
    GetEditFieldValue(field, bytes.data());
    return bytes;
}

bool AcceptColours(HWND, FieldDialog& d) {
    EditorState& s = Editor();
    ChooseColours(s, FieldColour(d.fields[0], s.settings.ForegroundColor),
                  FieldColour(d.fields[1], s.settings.BackgroundColor));
    return true;
}

void ShowFontChoice(HWND dialog) {
    const FontChoice c = CurrentFontChoice(Editor().settings);
    const int size = c.fontCell == 0 ? IDC_FONT_NORMAL : (c.fontCell == 1 ? IDC_FONT_DOUBLE : IDC_FONT_QUAD);
    CheckDlgButton(dialog, size, BST_CHECKED);
    CheckDlgButton(dialog, c.fontType ? IDC_FONT_HEX : IDC_FONT_ASCII, BST_CHECKED);
    CheckDlgButton(dialog, IDC_FONT_BLOCK_CARET, c.blockCaret ? BST_CHECKED : BST_UNCHECKED);
}

FontChoice ReadFontChoice(HWND dialog) {
    auto checked = [dialog](int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; };
    FontChoice c;
    c.fontCell = checked(IDC_FONT_NORMAL) ? 0 : (checked(IDC_FONT_DOUBLE) ? 1 : 2);
    c.fontType = checked(IDC_FONT_ASCII) ? 0 : 1;
    c.blockCaret = checked(IDC_FONT_BLOCK_CARET) ? 1 : 0;
    return c;
}

// A normal window takes the optimal size for the chosen cell size; its size
// change lays the view out again.
void AcceptFont(HWND dialog) {
    const Operation operation(Editor());
    if (operation.refused()) return;
    HWND main = MainWindow();
    const OptimalPlacement p = ChooseFont(Editor(), ReadFontChoice(dialog), IsZoomed(main) != FALSE, CurrentMetrics());
    if (p.resize) MoveWindow(main, p.x, p.y, p.width, p.height, TRUE);
}

INT_PTR CALLBACK FontDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            CenterOverMainWindow(dialog);
            ShowFontChoice(dialog);
            return TRUE;
        case WM_COMMAND:
            if (wParam == IDOK) AcceptFont(dialog);
            if (wParam == IDOK || wParam == IDCANCEL) EndDialog(dialog, wParam == IDOK);
            return TRUE;
        case WM_CLOSE: EndDialog(dialog, 0); return TRUE;
        default: return FALSE;
    }
}

// Only OK and the close box end it; Esc does nothing.
INT_PTR CALLBACK KeysDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: CenterOverMainWindow(dialog); return TRUE;
        case WM_COMMAND:
            if (wParam == IDOK) EndDialog(dialog, 1);
            return TRUE;
        case WM_CLOSE: EndDialog(dialog, 1); return TRUE;
        default: return FALSE;
    }
}

}  // namespace

FieldDialog ColorsDialog() { return {"SetColorsDialog", MakeColourFields, AcceptColours}; }

void RunFontDialog(HWND owner) { DialogBoxParamA(AppInstance(), "FontDialog", owner, FontDialogProc, 0); }

void RunKeysDialog(HWND owner) { DialogBoxParamA(AppInstance(), "KeysDialog", owner, KeysDialogProc, 0); }

}  // namespace vop::shell
