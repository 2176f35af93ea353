// The program's own hex entry controls, "VopEditField" and "VopAddressField".
// A creator allocates the field's record with new (EditFieldState or
// AddressFieldState) and passes it as the creation parameter; the field owns
// it from then on and deletes it when it is destroyed.
//
// Every entry field, the pattern rows too, answers the standard text messages
// as any control does, for screen readers and other programs: WM_GETTEXT
// (wParam the buffer's size) and WM_GETTEXTLENGTH give the text the field
// shows, WM_SETTEXT takes a zero-terminated text. The dialogs exchange raw
// values through two private messages instead:
//   VopEditField     FieldSetBytes: lParam -> `length` value bytes (wParam unused)
//                    FieldGetBytes: lParam <- `length` value bytes (wParam unused)
//   VopAddressField  FieldSetBytes: wParam = digit count, lParam -> digit values 0..15
//                    FieldGetBytes: wParam -> std::int32_t count, lParam <- 8 digit slots
#pragma once

#include <windows.h>

#include <memory>

namespace vop::shell {

constexpr UINT FieldSetBytes = WM_APP + 1;
constexpr UINT FieldGetBytes = WM_APP + 2;

constexpr const char* EditFieldClassName = "VopEditField";
constexpr const char* AddressFieldClassName = "VopAddressField";

bool RegisterEditFieldClass(HINSTANCE instance);
bool RegisterAddressFieldClass(HINSTANCE instance);

// Creates a field as a dialog's child (static edge; child, visible, tab stop;
// no id) that takes `record` over, then moves it to its place in the dialog's
// client area: (x, y) as laid out for base units of 6 × 13 pixels, moved with
// the dialog's own (DialogPoint); the size stays in pixels, as the glyphs do.
// Null when the window could not be made.
HWND CreateFieldWindow(HWND dialog, const char* className, void* record, int x, int y, int width, int height);

template <class Record>
HWND CreateEntryField(HWND dialog, const char* className, std::unique_ptr<Record> record, int x, int y, int width,
                      int height) {
    HWND window = CreateFieldWindow(dialog, className, record.get(), x, y, width, height);
    // The window owns the record once it exists; a window that was never made
    // never saw it, so it is freed here.
    if (window) record.release();
    return window;
}

}  // namespace vop::shell
