// One window procedure for the program's entry controls. A field's record (its
// model) says what every input does; the window only applies the outcome:
// the caret, a repaint, the refusal sound, the focus.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "entry_fields/field_keys.h"
#include "shell/entry_fields_win32.h"

namespace vop::shell::field {

void ShowFocusCaret(HWND window, std::int32_t caretPos);
void DropFocusCaret(HWND window);
// Draws the glyphs in 8-pixel cells with an inverting pen, so they show as the
// inverse of the class background.
void Paint(HWND window, const std::vector<FieldGlyph>& glyphs);
// Carries out what the record asked for, reading the caret position after
// the input moved it.
void Apply(HWND window, const FieldOutcome& outcome, std::int32_t caretPos);
// The window's own text, which another program's GetWindowText reads
// without asking the field, follows the text the field shows; screen readers
// hear of every change.
void KeepOwnText(HWND window, const std::string& text);
bool RegisterFieldClass(HINSTANCE instance, const char* className, WNDPROC procedure);
int ClientWidth(HWND window);

// Model: a type with Record, and static Caret (the caret's cell among the
// visible ones), Text and SetText (the standard text messages), KeyDown,
// Char, Click and Glyphs over it.
// The input and paint handlers also get the window, for what the record does
// not hold: the client width, the key state, the clipboard, a partner. The
// record arrives as the creation parameter and is the window's from then on:
// deleted when the window is destroyed.
template <class Model>
LRESULT CALLBACK FieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    using Record = typename Model::Record;
    auto* record = reinterpret_cast<Record*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_CREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (!cs || !cs->lpCreateParams) return -1;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        return 0;
    }
    if (message == WM_DESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        delete record;
        return 0;
    }
    if (!record) return DefWindowProcA(window, message, wParam, lParam);
    const auto apply = [&](const FieldOutcome& o) {
        Apply(window, o, Model::Caret(*record));
        KeepOwnText(window, Model::Text(*record));
    };
    switch (message) {
        case WM_SETTEXT: apply(Model::SetText(window, *record, reinterpret_cast<const char*>(lParam))); return TRUE;
        case WM_GETTEXT:
            return static_cast<LRESULT>(
                CopyFieldText(Model::Text(*record), reinterpret_cast<char*>(lParam), static_cast<std::size_t>(wParam)));
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(Model::Text(*record).size());
        case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_SETFOCUS: ShowFocusCaret(window, Model::Caret(*record)); return 0;
        case WM_KILLFOCUS: DropFocusCaret(window); return 0;
        case WM_PAINT: Paint(window, Model::Glyphs(window, *record)); return 0;
        case WM_KEYDOWN: apply(Model::KeyDown(window, *record, static_cast<unsigned>(wParam))); return 0;
        case WM_CHAR: apply(Model::Char(window, *record, static_cast<unsigned>(wParam))); return 0;
        case WM_LBUTTONDOWN: apply(Model::Click(window, *record, LOWORD(lParam))); return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

// The record of a field of this model's class, or null for any other
// window: the dialogs' direct calls check what they were given.
template <class Model>
typename Model::Record* RecordOf(HWND window) {
    const auto procedure = reinterpret_cast<LONG_PTR>(&FieldProc<Model>);
    if (!window || GetWindowLongPtrA(window, GWLP_WNDPROC) != procedure) return nullptr;
    return reinterpret_cast<typename Model::Record*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// Applies a direct call's outcome to the field, as an input's would be.
template <class Model>
void ApplyTo(HWND window, const FieldOutcome& outcome) {
    if (auto* record = RecordOf<Model>(window)) {
        Apply(window, outcome, Model::Caret(*record));
        KeepOwnText(window, Model::Text(*record));
    }
}

}  // namespace vop::shell::field
