// The "VopAddressField" window: up to eight hex digits typed in insert mode.
#include <windows.h>

#include "dialogs/address_field_model.h"
#include "dialogs/entry_fields_win32.h"
#include "dialogs/field_window_win32.h"

namespace vop::shell {
namespace {

LRESULT CALLBACK AddressFieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    AddressFieldState* record = field::RecordOf<AddressFieldState>(window);
    switch (message) {
        case WM_CREATE:
            return field::AdoptRecord(window, lParam) ? 0 : -1;
        case WM_DESTROY:
            field::ForgetRecord(window);
            delete record;
            return 0;
        default:
            break;
    }
    if (!record) return DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
        case WM_SETTEXT:
            field::ApplyTo(window, *record,
                           AddressFieldSetDigits(*record, static_cast<std::size_t>(wParam),
                                                 reinterpret_cast<const std::uint8_t*>(lParam)));
            return 0;
        case WM_GETTEXT:
            AddressFieldGetDigits(*record, reinterpret_cast<std::uint8_t*>(lParam),
                                  reinterpret_cast<std::int32_t*>(wParam));
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
            field::Paint(window, AddressFieldGlyphs(*record));
            return 0;
        case WM_KEYDOWN:
            field::ApplyTo(window, *record, AddressFieldKeyDown(*record, static_cast<unsigned>(wParam)));
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

bool RegisterAddressFieldClass(HINSTANCE instance) {
    return field::RegisterFieldClass(instance, AddressFieldClassName, AddressFieldProc);
}

}  // namespace vop::shell
