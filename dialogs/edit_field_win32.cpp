// The "VopEditField" window: a fixed-length value typed over in place.
#include <windows.h>

#include "dialogs/edit_field_model.h"
#include "dialogs/entry_fields_win32.h"
#include "dialogs/field_window_win32.h"

namespace vop::shell {
namespace {

LRESULT CALLBACK EditFieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    EditFieldState* record = field::RecordOf<EditFieldState>(window);
    switch (message) {
        case WM_CREATE:
            return field::AdoptRecord(window, lParam) ? 0 : -1;
        case WM_DESTROY:
            field::ForgetRecord(window);
            delete record;  // the value block goes with it
            return 0;
        default:
            break;
    }
    if (!record) return DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
        case WM_SETTEXT:
            field::ApplyTo(window, *record, EditFieldSetValue(*record, reinterpret_cast<const std::uint8_t*>(lParam)));
            return 0;
        case WM_GETTEXT:
            EditFieldGetValue(*record, reinterpret_cast<std::uint8_t*>(lParam));
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_SETFOCUS:
            field::ShowFocusCaret(window, record->caretPos);
            return 0;
        case WM_KILLFOCUS:
            field::DropFocusCaret(window);
            return 0;
        case WM_PAINT:
            field::Paint(window, EditFieldGlyphs(*record));
            return 0;
        case WM_KEYDOWN:
            field::ApplyTo(window, *record, EditFieldKeyDown(*record, static_cast<unsigned>(wParam)));
            return 0;
        case WM_CHAR:
            field::ApplyTo(window, *record, EditFieldChar(*record, static_cast<unsigned>(wParam)));
            return 0;
        case WM_LBUTTONDOWN:
            field::ApplyTo(window, *record, EditFieldClick(*record, LOWORD(lParam)));
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

bool RegisterEditFieldClass(HINSTANCE instance) {
    return field::RegisterFieldClass(instance, EditFieldClassName, EditFieldProc);
}

}  // namespace vop::shell
