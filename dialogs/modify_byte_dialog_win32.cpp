// The Modify dialog: shows the caret byte's address and takes a new value for it.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "app/shell_win32.h"
#include "dialogs/edit_field_model.h"
#include "dialogs/entry_fields_win32.h"
#include "dialogs/modify_byte.h"
#include "dialogs/small_dialogs_win32.h"
#include "resources/resource_ids.h"
#include "view/caret_navigation.h"
#include "view/screen_layout.h"

namespace vop::shell {
namespace {

struct ModifyDialogData {
    HWND field = nullptr;
};

ModifyDialogData* DataOf(HWND dialog) {
    return reinterpret_cast<ModifyDialogData*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// The field goes before the dialog on every way out.
void Finish(HWND dialog, ModifyDialogData* data, INT_PTR result) {
    if (data && data->field) {
        DestroyWindow(data->field);
        data->field = nullptr;
    }
    EndDialog(dialog, result);
}

void Open(HWND dialog, ModifyDialogData* data) {
    EditorState& s = Editor();
    data->field = CreateEntryField(dialog, EditFieldClassName,
                                   std::make_unique<EditFieldState>(MakeEditFieldState(1, 1, 1)), 70, 29, 27, 18);

    char address[32];
    std::snprintf(address, sizeof address, "Address: %08lXh", static_cast<unsigned long>(CaretAddress(s)));
    SetDlgItemTextA(dialog, IDC_MODIFY_ADDRESS, address);

    if (data->field) {
        std::uint8_t value = CaretByte(s).value_or(0);
        SendMessageA(data->field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(&value));
    }
    CenterOverMainWindow(dialog);
    if (data->field) SetFocus(data->field);
}

void Accept(HWND dialog, ModifyDialogData* data) {
    if (data && data->field) {
        std::uint8_t value = 0;
        SendMessageA(data->field, WM_GETTEXT, 1, reinterpret_cast<LPARAM>(&value));
        EditorState& s = Editor();
        if (WriteCaretByte(s, value)) InvalidateCaretCell(s);
    }
    Finish(dialog, data, 1);
}

INT_PTR CALLBACK ModifyByteDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* data = reinterpret_cast<ModifyDialogData*>(lParam);
            SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(data));
            Open(dialog, data);
            return FALSE;  // the focus was set by hand
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    Accept(dialog, DataOf(dialog));
                    return TRUE;
                case IDCANCEL:
                    Finish(dialog, DataOf(dialog), 0);
                    return TRUE;
                default:
                    return FALSE;
            }
        case WM_CLOSE:
            Finish(dialog, DataOf(dialog), 1);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR RunModifyByteDialog(HWND owner) {
    ModifyDialogData data;
    return DialogBoxParamA(AppInstance(), "ModifyByte", owner, ModifyByteDialogProc, reinterpret_cast<LPARAM>(&data));
}

}  // namespace vop::shell
