#include "shell/pattern_field_win32.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "entry_fields/pattern_field_model.h"
#include "shell/entry_fields_win32.h"
#include "shell/field_window_win32.h"

namespace vop::shell {
namespace {

// What the window keeps: the row's record, and where the dialog keeps the
// partner row's handle. The handle is read at each change, not at creation,
// because the first row of a pair is made before its partner.
struct PatternFieldWindowRecord {
    PatternFieldState field;
    HWND* partner = nullptr;
};

// Ctrl as it was when the key was pressed, not as it is when the message is read.
bool CtrlHeld() { return GetKeyState(VK_CONTROL) < 0; }

// After a change of content the partner gets the whole pattern. Its own
// FieldSetBytes never hands anything back, so the two rows cannot echo.
FieldOutcome HandedOn(const PatternFieldWindowRecord& r, const FieldOutcome& outcome) {
    if (outcome.updatePartner && r.partner && *r.partner)
        SendMessageA(*r.partner, FieldSetBytes, static_cast<WPARAM>(r.field.length),
                     reinterpret_cast<LPARAM>(r.field.bytes.data()));
    return outcome;
}

// The clipboard's text replaces the pattern. Its block may lack the
// terminating zero, so the read stops at the block's end as well.
FieldOutcome PasteClipboard(HWND window, PatternFieldState& field) {
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(window)) return {};
    FieldOutcome outcome;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* text = static_cast<const std::uint8_t*>(GlobalLock(data))) {
            outcome = PatternFieldPaste(field, text, GlobalSize(data));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return outcome;
}

// VopAdvancedEditField: setting takes a byte count and the bytes; getting
// gives the count through wParam and the bytes through lParam. A text set
// by another program goes to the partner as typing does.
struct PatternFieldModel {
    using Record = PatternFieldWindowRecord;
    static std::int32_t Caret(const Record& r) { return r.field.caretColumn; }
    static FieldOutcome SetBytes(Record& r, WPARAM w, LPARAM l) {
        return PatternFieldSetBytes(r.field, static_cast<std::size_t>(w), reinterpret_cast<const std::uint8_t*>(l));
    }
    static void GetBytes(const Record& r, WPARAM w, LPARAM l) {
        PatternFieldGetBytes(r.field, reinterpret_cast<std::int32_t*>(w), reinterpret_cast<std::uint8_t*>(l));
    }
    static std::string Text(const Record& r) { return PatternFieldText(r.field); }
    static FieldOutcome SetText(HWND, Record& r, const char* text) { return HandedOn(r, PatternFieldSetText(r.field, text)); }
    static FieldOutcome KeyDown(HWND window, Record& r, unsigned key) {
        if (PatternFieldIsPasteKey(r.field, key, CtrlHeld())) return HandedOn(r, PasteClipboard(window, r.field));
        return HandedOn(r, PatternFieldKeyDown(r.field, key, field::ClientWidth(window)));
    }
    static FieldOutcome Char(HWND window, Record& r, unsigned code) {
        return HandedOn(r, PatternFieldChar(r.field, code, CtrlHeld(), field::ClientWidth(window)));
    }
    static FieldOutcome Click(HWND window, Record& r, unsigned x) {
        return PatternFieldClick(r.field, x, field::ClientWidth(window));
    }
    static std::vector<FieldGlyph> Glyphs(HWND window, const Record& r) {
        return PatternFieldGlyphs(r.field, field::ClientWidth(window));
    }
};

}  // namespace

bool RegisterPatternFieldClass(HINSTANCE instance) {
    return field::RegisterFieldClass(instance, PatternFieldClassName, field::FieldProc<PatternFieldModel>);
}

HWND CreatePatternField(HWND dialog, bool isHex, HWND* partner, int x, int y) {
    auto record = std::make_unique<PatternFieldWindowRecord>();
    record->field.isHex = isHex ? 1 : 0;
    record->partner = partner;
    return CreateEntryField(dialog, PatternFieldClassName, std::move(record), x, y, PatternFieldWidth,
                            PatternFieldHeight);
}

}  // namespace vop::shell
