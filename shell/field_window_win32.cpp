#include "shell/field_window_win32.h"

#include <mmsystem.h>

#include "entry_fields/address_field_model.h"
#include "entry_fields/edit_field_model.h"
#include "shell/entry_fields_win32.h"
#include "shell/glyph_lines_win32.h"
#include "shell/shell_win32.h"
#include "shell/system_calls_win32.h"

namespace vop::shell {
namespace field {

void ShowFocusCaret(HWND window, std::int32_t caretPos) {
    CreateCaret(window, nullptr, FieldCaretWidth, FieldCaretHeight);
    SetCaretPos(FieldPositionX(caretPos), FieldCaretY);
    ShowCaret(window);
}

void DropFocusCaret(HWND window) {
    HideCaret(window);
    DestroyCaret();
}

void Paint(HWND window, const std::vector<FieldGlyph>& glyphs) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (!dc) {
        EndPaint(window, &ps);
        return;
    }
    HPEN pen = CreatePen(PS_SOLID, 0, Editor().settings.ForegroundColor);
    SetROP2(dc, R2_NOT);
    HGDIOBJ oldPen = pen ? SelectObject(dc, pen) : nullptr;
    // The fields always use the 8 × 16 glyphs, whatever cell size the data
    // window shows.
    for (const FieldGlyph& g : glyphs) DrawGlyphLines(dc, g.x, 0, g.code, 0);
    if (pen) {
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }
    EndPaint(window, &ps);
}

void Apply(HWND window, const FieldOutcome& outcome, std::int32_t caretPos) {
    // The system's own refusal sound, by its alias id: a name would first be
    // looked for as a file, in the current folder among other places. It
    // plays while typing goes on (a synchronous one would hold every key
    // behind it), and one still playing is not started again.
    if (outcome.playDefaultSound)
        late::PlaySoundW(reinterpret_cast<LPCWSTR>(SND_ALIAS_SYSTEMDEFAULT), nullptr, SND_ALIAS_ID | SND_ASYNC | SND_NOSTOP);
    // The system caret belongs to whichever window has the focus; moving it
    // from a field without the focus would move someone else's caret.
    if (outcome.placeCaret && GetFocus() == window) SetCaretPos(FieldPositionX(caretPos), FieldCaretY);
    if (outcome.repaint) InvalidateRect(window, nullptr, TRUE);
    if (outcome.takeFocus) SetFocus(window);
}

void KeepOwnText(HWND window, const std::string& text) {
    std::string own(text.size() + 2, '\0');
    const LRESULT length = DefWindowProcA(window, WM_GETTEXT, own.size(), reinterpret_cast<LPARAM>(own.data()));
    own.resize(static_cast<std::size_t>(length));
    if (own == text) return;
    DefWindowProcA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

bool RegisterFieldClass(HINSTANCE instance, const char* className, WNDPROC procedure) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = className;
    return RegisterClassA(&wc) != 0;
}

int ClientWidth(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return static_cast<int>(client.right - client.left);
}

}  // namespace field

namespace {

struct EditFieldModel {
    using Record = EditFieldState;
    static std::string Text(const Record& r) { return EditFieldText(r); }
    static FieldOutcome SetText(HWND, Record& r, const char* text) { return EditFieldSetText(r, text); }
    static std::int32_t Caret(const Record& r) { return r.caretPos; }
    static FieldOutcome KeyDown(HWND, Record& r, unsigned key) { return EditFieldKeyDown(r, key); }
    static FieldOutcome Char(HWND, Record& r, unsigned code) { return EditFieldChar(r, code); }
    static FieldOutcome Click(HWND, Record& r, unsigned x) { return EditFieldClick(r, x); }
    static std::vector<FieldGlyph> Glyphs(HWND, const Record& r) { return EditFieldGlyphs(r); }
};

// VopAddressField: characters and clicks do nothing.
struct AddressFieldModel {
    using Record = AddressFieldState;
    static std::string Text(const Record& r) { return AddressFieldText(r); }
    static FieldOutcome SetText(HWND, Record& r, const char* text) { return AddressFieldSetText(r, text); }
    static std::int32_t Caret(const Record& r) { return r.caretPos; }
    static FieldOutcome KeyDown(HWND, Record& r, unsigned key) { return AddressFieldKeyDown(r, key); }
    static FieldOutcome Char(HWND, Record&, unsigned) { return {}; }
    static FieldOutcome Click(HWND, Record&, unsigned) { return {}; }
    static std::vector<FieldGlyph> Glyphs(HWND, const Record& r) { return AddressFieldGlyphs(r); }
};

}  // namespace

void SetEditFieldValue(HWND field, const std::uint8_t* bytes) {
    if (auto* record = field::RecordOf<EditFieldModel>(field))
        field::ApplyTo<EditFieldModel>(field, EditFieldSetValue(*record, bytes));
}

void GetEditFieldValue(HWND field, std::uint8_t* bytes) {
    if (const auto* record = field::RecordOf<EditFieldModel>(field)) EditFieldGetValue(*record, bytes);
}

std::int32_t GetAddressDigits(HWND field, std::uint8_t* digits) {
    std::int32_t count = 0;
    if (const auto* record = field::RecordOf<AddressFieldModel>(field)) AddressFieldGetDigits(*record, digits, &count);
    return count;
}

bool RegisterEditFieldClass(HINSTANCE instance) {
    return field::RegisterFieldClass(instance, EditFieldClassName, field::FieldProc<EditFieldModel>);
}

bool RegisterAddressFieldClass(HINSTANCE instance) {
    return field::RegisterFieldClass(instance, AddressFieldClassName, field::FieldProc<AddressFieldModel>);
}

HWND CreateFieldWindow(HWND dialog, const char* className, void* record, int x, int y, int width, int height) {
    HWND window = CreateWindowExA(WS_EX_STATICEDGE, className, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0,
                                  dialog, nullptr, AppInstance(), record);
    const POINT at = DialogPoint(dialog, x, y);
    if (window) MoveWindow(window, at.x, at.y, width, height, TRUE);
    return window;
}

}  // namespace vop::shell
