// The dialogs the core asks for. Modify and Goto Address are a template with
// one of the program's entry fields; they differ only in the field and in
// what OK does with its value. The rest have files of their own.
#include "shell/dialogs_win32.h"

#include <cstdio>
#include <memory>

#include "entry_fields/address_field_model.h"
#include "entry_fields/edit_field_model.h"
#include "resources/resource_ids.h"
#include "shell/about_dialog_win32.h"
#include "shell/entry_fields_win32.h"
#include "shell/field_dialog_win32.h"
#include "shell/search_dialogs_win32.h"
#include "shell/settings_dialogs_win32.h"
#include "shell/shell_win32.h"
#include "view/caret_byte.h"
#include "view/caret_navigation.h"
#include "view/goto_address.h"

namespace vop::shell {
namespace {

HWND MakeByteField(HWND dialog, FieldDialog& d) {
    EditorState& s = Editor();
    char address[32];
    std::snprintf(address, sizeof address, "Address: %08lXh", static_cast<unsigned long>(CaretAddress(s)));
    SetDlgItemTextA(dialog, IDC_MODIFY_ADDRESS, address);
    HWND field = CreateEntryField(dialog, EditFieldClassName,
                                  std::make_unique<EditFieldState>(MakeEditFieldState(1, 1, 1)), 70, 29, 27, 18);
    const std::uint8_t value = CaretByte(s).value_or(0);
    SetEditFieldValue(field, &value);
    return d.fields[0] = field;
}

bool AcceptByte(HWND, FieldDialog& d) {
    std::uint8_t value = 0;
    if (!d.fields[0]) return true;
    GetEditFieldValue(d.fields[0], &value);
    ModifyCaretByte(Editor(), value);
    return true;
}

HWND MakeAddressField(HWND dialog, FieldDialog& d) {
    return d.fields[0] = CreateEntryField(
               dialog, AddressFieldClassName,
               std::make_unique<AddressFieldState>(MakeAddressFieldState(AddressFieldRoom)), 64, 21, 68, 18);
}

bool AcceptAddress(HWND, FieldDialog& d) {
    std::uint8_t digits[AddressFieldRoom] = {};
    if (!d.fields[0]) return true;
    const std::int32_t count = GetAddressDigits(d.fields[0], digits);
    EditorState& s = Editor();
    // The jump's questions and complaints are owned by the dialog, still up.
    if (const auto target = GotoDialogTarget(digits, count, CaretAddress(s)))
        GotoAddress(s, *target, BoxOwner::ActiveDialog);
    return true;
}

}  // namespace

void RunDialog(DialogKind kind, HWND owner) {
    switch (kind) {
        case DialogKind::Font: RunFontDialog(owner); return;
        case DialogKind::Keys: RunKeysDialog(owner); return;
        case DialogKind::About: RunAboutDialog(owner); return;
        default: break;
    }
    FieldDialog dialog{};
    switch (kind) {
        case DialogKind::ModifyByte: dialog = {"ModifyByte", MakeByteField, AcceptByte}; break;
        case DialogKind::GotoAddress: dialog = {"GotoAddress", MakeAddressField, AcceptAddress}; break;
        case DialogKind::Find: dialog = FindDialog(); break;
        case DialogKind::Replace: dialog = ReplaceDialog(); break;
        case DialogKind::Colors: dialog = ColorsDialog(); break;
        default: return;
    }
    RunFieldDialog(owner, dialog);
}

}  // namespace vop::shell
