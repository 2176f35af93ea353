// The modal dialogs whose fields are the program's own controls, made at run
// time: Modify, Goto Address, Find and Replace. They share one procedure; a
// dialog only says how its fields are made and what OK does with them.
#pragma once

#include <windows.h>

#include <array>

namespace vop::shell {

struct FieldDialog {
    const char* templateName;
    // Makes the fields into `fields` (and fills the dialog's own texts);
    // returns the field that takes the focus.
    HWND (*open)(HWND dialog, FieldDialog& d);
    // OK, while the dialog still owns the boxes it raises. False keeps the
    // dialog open.
    bool (*accept)(HWND dialog, FieldDialog& d);
    // The fields' handles. Pattern rows name their partners through these
    // variables, so they live as long as the dialog.
    std::array<HWND, 4> fields{};
    bool active = false;  // registered as the owner of the boxes the core raises
};

// Runs the dialog modally over `owner`; its result (1 for OK and the close
// box, 0 for Cancel).
INT_PTR RunFieldDialog(HWND owner, FieldDialog& dialog);

}  // namespace vop::shell
