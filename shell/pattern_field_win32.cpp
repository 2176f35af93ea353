#include "shell/pattern_field_win32.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
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

// Ctrl and Alt as they were when the key was pressed, not as they are when
// the message is read.
HeldKeys Held() { return {GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0}; }

// After a change of content the partner gets the whole pattern. Bytes set
// so are never handed back, so the two rows cannot echo.
FieldOutcome HandedOn(const PatternFieldWindowRecord& r, const FieldOutcome& outcome) {
    if (outcome.updatePartner && r.partner && *r.partner)
        SetPatternBytes(*r.partner, static_cast<std::size_t>(r.field.length), r.field.bytes.data());
    return outcome;
}

// Another program may hold the clipboard open for a moment (clipboard
// managers and remote desktops read every change): a few short retries.
bool OpenClipboardPatiently(HWND window) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(window)) return true;
        Sleep(20);
    }
    return false;
}

// The clipboard's text in the system's 8-bit code page, the bytes the row
// holds. The Unicode text is what the user copied; the 8-bit form the system
// makes of it follows the locale of the copying keyboard, which may lack the
// characters the system code page has. Characters the code page lacks
// become "?". Blocks may lack the terminating zero, so each read stops at its
// block's end. At most 512 characters are read: a row holds 256 bytes.
std::optional<std::string> ClipboardText() {
    constexpr std::size_t MostChars = 512;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
            const std::size_t room = std::min(GlobalSize(data) / sizeof(wchar_t), MostChars);
            const int n = static_cast<int>(std::find(wide, wide + room, L'\0') - wide);
            const int size = WideCharToMultiByte(CP_ACP, 0, wide, n, nullptr, 0, nullptr, nullptr);
            std::string text(static_cast<std::size_t>(size), '\0');
            WideCharToMultiByte(CP_ACP, 0, wide, n, text.data(), size, nullptr, nullptr);
            GlobalUnlock(data);
            return text;
        }
    }
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* narrow = static_cast<const char*>(GlobalLock(data))) {
            const std::string text(narrow, std::find(narrow, narrow + std::min(GlobalSize(data), MostChars), '\0'));
            GlobalUnlock(data);
            return text;
        }
    }
    return std::nullopt;
}

// The clipboard's text replaces the pattern; a clipboard that holds no text,
// or cannot be opened or read, leaves the row as it was.
FieldOutcome PasteClipboard(HWND window, PatternFieldState& field) {
    const bool hasText = IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT);
    if (!hasText || !OpenClipboardPatiently(window)) return {};
    const std::optional<std::string> text = ClipboardText();
    CloseClipboard();
    if (!text) return {};
    return PatternFieldPaste(field, reinterpret_cast<const std::uint8_t*>(text->data()), text->size());
}

// VopAdvancedEditField: a text set by another program goes to the partner as
// typing does.
struct PatternFieldModel {
    using Record = PatternFieldWindowRecord;
    static std::int32_t Caret(const Record& r) { return r.field.caretColumn; }
    static std::string Text(const Record& r) { return PatternFieldText(r.field); }
    static FieldOutcome SetText(HWND, Record& r, const char* text) { return HandedOn(r, PatternFieldSetText(r.field, text)); }
    static FieldOutcome KeyDown(HWND window, Record& r, unsigned key) {
        if (PatternFieldIsPasteKey(r.field, key, Held())) return HandedOn(r, PasteClipboard(window, r.field));
        return HandedOn(r, PatternFieldKeyDown(r.field, key, field::ClientWidth(window)));
    }
    static FieldOutcome Char(HWND window, Record& r, unsigned code) {
        return HandedOn(r, PatternFieldChar(r.field, code, Held(), field::ClientWidth(window)));
    }
    static FieldOutcome Click(HWND window, Record& r, unsigned x) {
        return PatternFieldClick(r.field, x, field::ClientWidth(window));
    }
    static std::vector<FieldGlyph> Glyphs(HWND window, const Record& r) {
        return PatternFieldGlyphs(r.field, field::ClientWidth(window));
    }
};

}  // namespace

void SetPatternBytes(HWND row, std::size_t count, const std::uint8_t* bytes) {
    if (auto* record = field::RecordOf<PatternFieldModel>(row))
        field::ApplyTo<PatternFieldModel>(row, PatternFieldSetBytes(record->field, count, bytes));
}

std::int32_t GetPatternBytes(HWND row, std::uint8_t* bytes) {
    std::int32_t count = 0;
    if (const auto* record = field::RecordOf<PatternFieldModel>(row)) PatternFieldGetBytes(record->field, &count, bytes);
    return count;
}

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
