// What both hex entry controls do the same way on screen: their record in the
// window's user data, the focus caret, painting the glyphs, and carrying out
// what the record asked for after an input.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "dialogs/field_keys.h"

namespace vop::shell::field {

template <class Record>
Record* RecordOf(HWND window) {
    return reinterpret_cast<Record*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// WM_CREATE: takes over the record passed as creation parameter.
// False when there is none, so the creation fails.
bool AdoptRecord(HWND window, LPARAM createStruct);
// WM_DESTROY: the window gives up the record; the caller deletes it.
void ForgetRecord(HWND window);

void ShowFocusCaret(HWND window, std::int32_t caretPos);
void DropFocusCaret(HWND window);

// Draws the glyphs in 8-pixel cells with an inverting pen, so they show as the
// inverse of the class background.
void Paint(HWND window, const std::vector<FieldGlyph>& glyphs);

// Plays the refusal sound, moves the caret (only when this field owns it),
// repaints and takes the focus, as the outcome asks.
void Apply(HWND window, const FieldOutcome& outcome, std::int32_t caretPos);

// The same for an outcome the record has already produced: the caret position
// is read here, after the input moved it, never before.
template <class Record>
void ApplyTo(HWND window, const Record& record, const FieldOutcome& outcome) {
    Apply(window, outcome, record.caretPos);
}

bool RegisterFieldClass(HINSTANCE instance, const char* className, WNDPROC procedure);

}  // namespace vop::shell::field
