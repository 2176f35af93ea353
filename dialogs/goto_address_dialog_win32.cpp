// The Goto Address dialog: takes up to eight hex digits and jumps there.
#include <windows.h>

#include <cstdint>
#include <memory>

#include "app/shell_win32.h"
#include "dialogs/address_field_model.h"
#include "dialogs/entry_fields_win32.h"
#include "dialogs/goto_address.h"
#include "dialogs/small_dialogs_win32.h"
#include "view/caret_navigation.h"

namespace vop::shell {
namespace {

struct GotoDialogData {
    HWND field = nullptr;
    bool active = false;  // registered as the owner of the jump's message boxes
};

GotoDialogData* DataOf(HWND dialog) {
    return reinterpret_cast<GotoDialogData*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void StopBeingActive(HWND dialog, GotoDialogData* data) {
    if (data && data->active) {
        PopActiveDialog(dialog);
        data->active = false;
    }
}

// The field goes before the dialog on every way out.
void Finish(HWND dialog, GotoDialogData* data, INT_PTR result) {
    if (data && data->field) {
        DestroyWindow(data->field);
        data->field = nullptr;
    }
    StopBeingActive(dialog, data);
    EndDialog(dialog, result);
}

void Open(HWND dialog, GotoDialogData* data) {
    // The jump's questions and complaints belong over this dialog.
    PushActiveDialog(dialog);
    data->active = true;
    data->field = CreateEntryField(dialog, AddressFieldClassName,
                                   std::make_unique<AddressFieldState>(MakeAddressFieldState(AddressFieldRoom)), 64,
                                   21, 68, 18);
    CenterOverMainWindow(dialog);
    if (data->field) SetFocus(data->field);
}

void Accept(HWND dialog, GotoDialogData* data) {
    if (data && data->field) {
        std::uint8_t digits[AddressFieldRoom] = {};
        std::int32_t count = 0;
        SendMessageA(data->field, WM_GETTEXT, reinterpret_cast<WPARAM>(&count), reinterpret_cast<LPARAM>(digits));
        EditorState& s = Editor();
        // Runs while the dialog is still up, so its boxes are owned by it.
        if (const auto target = GotoDialogTarget(digits, count, CaretAddress(s))) {
            GotoAddress(s, *target, BoxOwner::ActiveDialog, true);
        }
    }
    Finish(dialog, data, 1);
}

INT_PTR CALLBACK GotoAddressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* data = reinterpret_cast<GotoDialogData*>(lParam);
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
        case WM_DESTROY:
            // Torn down without OK, Cancel or close (its owner went away):
            // never leave a dead window as the owner of later boxes.
            StopBeingActive(dialog, DataOf(dialog));
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR RunGotoAddressDialog(HWND owner) {
    GotoDialogData data;
    return DialogBoxParamA(AppInstance(), "GotoAddress", owner, GotoAddressDialogProc, reinterpret_cast<LPARAM>(&data));
}

}  // namespace vop::shell
