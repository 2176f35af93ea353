#include "shell/field_dialog_win32.h"

#include "app/operation.h"
#include "resources/resource_ids.h"
#include "shell/shell_win32.h"

namespace vop::shell {
namespace {

FieldDialog* DataOf(HWND dialog) { return reinterpret_cast<FieldDialog*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

void StopBeingActive(HWND dialog, FieldDialog* data) {
    if (data && data->active) {
        PopActiveDialog(dialog);
        data->active = false;
    }
}

void Finish(HWND dialog, FieldDialog* data, INT_PTR result) {
    StopBeingActive(dialog, data);
    EndDialog(dialog, result);
}

// Each field goes right after its label in the dialog's order (field k's
// label is IDC_LABEL_FIRST + k): Tab reaches the fields in their places,
// a label's mnemonic moves the focus to its field, and screen readers take
// the label that precedes a control for its name.
void PlaceAfterLabels(HWND dialog, const FieldDialog& data) {
    for (std::size_t k = 0; k < data.fields.size(); ++k) {
        HWND label = GetDlgItem(dialog, IDC_LABEL_FIRST + static_cast<int>(k));
        if (data.fields[k] && label)
            SetWindowPos(data.fields[k], label, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

// The fields go with the dialog; their handle variables are emptied first,
// so that no row passes its bytes to a partner already gone.
void DestroyFields(FieldDialog* data) {
    if (!data) return;
    std::array<HWND, 4> fields = data->fields;
    data->fields.fill(nullptr);
    for (HWND field : fields)
        if (field) DestroyWindow(field);
}

INT_PTR CALLBACK FieldDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    FieldDialog* data = DataOf(dialog);
    switch (message) {
        case WM_INITDIALOG: {
            data = reinterpret_cast<FieldDialog*>(lParam);
            SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(data));
            PushActiveDialog(dialog);
            data->active = true;
            HWND focus = data->open(dialog, *data);
            PlaceAfterLabels(dialog, *data);
            CenterOverMainWindow(dialog);
            if (focus) SetFocus(focus);
            return FALSE;  // the focus was set by hand
        }
        case WM_COMMAND: {
            if (wParam != IDOK && wParam != IDCANCEL) return FALSE;
            // The dialog's own search or jump is in progress (another program
            // may send its buttons meanwhile): it ends the dialog itself.
            const Operation operation(Editor());
            if (operation.refused()) return TRUE;
            if (wParam == IDCANCEL || (data && data->accept(dialog, *data))) Finish(dialog, data, wParam == IDOK);
            return TRUE;
        }
        case WM_CLOSE:
            if (!Editor().OperationsRunning) Finish(dialog, data, 1);
            return TRUE;
        case WM_DESTROY:
            DestroyFields(data);
            // Torn down without OK, Cancel or close (its owner went away):
            // never leave a dead window as the owner of later boxes.
            StopBeingActive(dialog, data);
            return FALSE;
        default: return FALSE;
    }
}

}  // namespace

INT_PTR RunFieldDialog(HWND owner, FieldDialog& dialog) {
    return DialogBoxParamA(AppInstance(), dialog.templateName, owner, FieldDialogProc,
                           reinterpret_cast<LPARAM>(&dialog));
}

}  // namespace vop::shell
