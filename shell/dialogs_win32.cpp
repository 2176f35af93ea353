// The Modify and Goto Address dialogs. Both are a template with one of the
// program's entry fields, made at run time; they differ only in the field
// and in what OK does with its value.
#include "shell/dialogs_win32.h"

#include <cstdio>
#include <memory>

#include "dialogs/address_field_model.h"
#include "dialogs/edit_field_model.h"
#include "resources/resource_ids.h"
#include "shell/entry_fields_win32.h"
#include "shell/shell_win32.h"
#include "view/caret_byte.h"
#include "view/caret_navigation.h"
#include "view/goto_address.h"

namespace vop::shell {
namespace {

struct FieldDialog {
    const char* templateName;
    HWND (*makeField)(HWND dialog);  // also fills the dialog's own texts
    void (*accept)(HWND field);      // OK, while the dialog is still up
    HWND field = nullptr;
    bool active = false;  // registered as the owner of the boxes OK raises
};

FieldDialog* DataOf(HWND dialog) { return reinterpret_cast<FieldDialog*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

void StopBeingActive(HWND dialog, FieldDialog* data) {
    if (data && data->active) {
        PopActiveDialog(dialog);
        data->active = false;
    }
}

// The field goes before the dialog on every way out.
void Finish(HWND dialog, FieldDialog* data, INT_PTR result) {
    if (data && data->field) {
        DestroyWindow(data->field);
        data->field = nullptr;
    }
    StopBeingActive(dialog, data);
    EndDialog(dialog, result);
}

INT_PTR CALLBACK FieldDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    FieldDialog* data = DataOf(dialog);
    switch (message) {
        case WM_INITDIALOG:
            data = reinterpret_cast<FieldDialog*>(lParam);
            SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(data));
            PushActiveDialog(dialog);
            data->active = true;
            data->field = data->makeField(dialog);
            CenterOverMainWindow(dialog);
            if (data->field) SetFocus(data->field);
            return FALSE;  // the focus was set by hand
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                if (data && data->field) data->accept(data->field);
                Finish(dialog, data, 1);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                Finish(dialog, data, 0);
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE: Finish(dialog, data, 1); return TRUE;
        case WM_DESTROY:
            // Torn down without OK, Cancel or close (its owner went away):
            // never leave a dead window as the owner of later boxes.
            StopBeingActive(dialog, data);
            return FALSE;
        default: return FALSE;
    }
}

void Run(HWND owner, FieldDialog data) {
    DialogBoxParamA(AppInstance(), data.templateName, owner, FieldDialogProc, reinterpret_cast<LPARAM>(&data));
}

HWND MakeByteField(HWND dialog) {
    EditorState& s = Editor();
    char address[32];
    std::snprintf(address, sizeof address, "Address: %08lXh", static_cast<unsigned long>(CaretAddress(s)));
    SetDlgItemTextA(dialog, IDC_MODIFY_ADDRESS, address);
    HWND field = CreateEntryField(dialog, EditFieldClassName,
                                  std::make_unique<EditFieldState>(MakeEditFieldState(1, 1, 1)), 70, 29, 27, 18);
    std::uint8_t value = CaretByte(s).value_or(0);
    if (field) SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(&value));
    return field;
}

void AcceptByte(HWND field) {
    std::uint8_t value = 0;
    SendMessageA(field, WM_GETTEXT, 1, reinterpret_cast<LPARAM>(&value));
    ModifyCaretByte(Editor(), value);
}

HWND MakeAddressField(HWND dialog) {
    return CreateEntryField(dialog, AddressFieldClassName,
                            std::make_unique<AddressFieldState>(MakeAddressFieldState(AddressFieldRoom)), 64, 21, 68,
                            18);
}

void AcceptAddress(HWND field) {
    std::uint8_t digits[AddressFieldRoom] = {};
    std::int32_t count = 0;
    SendMessageA(field, WM_GETTEXT, reinterpret_cast<WPARAM>(&count), reinterpret_cast<LPARAM>(digits));
    EditorState& s = Editor();
    // The jump's questions and complaints are owned by the dialog, still up.
    if (const auto target = GotoDialogTarget(digits, count, CaretAddress(s)))
        GotoAddress(s, *target, BoxOwner::ActiveDialog);
}

}  // namespace

void RunDialog(DialogKind kind, HWND owner) {
    switch (kind) {
        case DialogKind::ModifyByte: Run(owner, {"ModifyByte", MakeByteField, AcceptByte}); break;
        case DialogKind::GotoAddress: Run(owner, {"GotoAddress", MakeAddressField, AcceptAddress}); break;
        case DialogKind::Find:
        case DialogKind::Replace: break;  // the search dialogs arrive with the search feature
    }
}

}  // namespace vop::shell
