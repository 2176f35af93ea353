// The program's own hex entry controls, "VopEditField" and "VopAddressField".
// A creator allocates the field's record with new (EditFieldState or
// AddressFieldState) and passes it as the creation parameter; the field owns
// it from then on and deletes it when it is destroyed.
//
// Every entry field, the pattern rows too, answers the standard text messages
// as any control does, for screen readers and other programs: WM_GETTEXT
// (wParam the buffer's size) and WM_GETTEXTLENGTH give the text the field
// shows, WM_SETTEXT takes a zero-terminated text. The dialogs reach the raw
// values by direct calls instead: a message that carries a pointer could be
// sent by any program, and nothing carries its pointer across.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

namespace vop::shell {

constexpr const char* EditFieldClassName = "VopEditField";
constexpr const char* AddressFieldClassName = "VopAddressField";

bool RegisterEditFieldClass(HINSTANCE instance);
bool RegisterAddressFieldClass(HINSTANCE instance);

// A VopEditField's value, as many bytes as it holds; an address field's
// digits (8 slots) and their count. Other windows take and give nothing.
void SetEditFieldValue(HWND field, const std::uint8_t* bytes);
void GetEditFieldValue(HWND field, std::uint8_t* bytes);
std::int32_t GetAddressDigits(HWND field, std::uint8_t* digits);

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
