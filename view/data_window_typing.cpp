// Typing over the byte under the caret: characters in Ascii font type, hex
// digits (high nibble, then low nibble) in Hex font type.
#include "app/status_text.h"
#include "view/caret_navigation.h"
#include "view/data_window_input.h"
#include "view/screen_layout.h"

namespace vop {

namespace {

int HexDigitValue(std::uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool CaretByteHeld(const EditorState& s) {
    const PageBuffer* page = s.slot(s.CaretPage);
    return page && page->present() && s.CaretOffset >= 0 &&
           static_cast<std::uint32_t>(s.CaretOffset) < page->Length;
}

std::uint8_t ByteUnderCaret(const EditorState& s) { return s.slot(s.CaretPage)->Bytes[s.CaretOffset]; }

void AfterTypedByte(EditorState& s, bool erase) {
    MoveRight(s, erase);
    SyncScrollPosition(s);
    PlaceCaret(s);
    ShowCaretAddress(s);
}

}  // namespace

void WriteByteUnderCaret(EditorState& s, std::uint8_t value) {
    if (!CaretByteHeld(s)) return;
    s.slot(s.CaretPage)->Bytes[s.CaretOffset] = value;
    ScreenGrid& g = s.grid;
    const std::int32_t column = g.caretColumn + AddressCells;
    if (g.caretRow >= 0 && g.caretRow < g.rows && column < g.columns && g.caretColumn >= 0) {
        g.at(g.caretRow, column) = value;
    }
    InvalidateCaretCell(s);
    s.Modified = 1;
}

void DataWindowChar(EditorState& s, std::uint8_t code, bool ctrlHeld) {
    if (!CaretByteHeld(s)) return;
    if (s.settings.FontType == 1) {
        const int digit = HexDigitValue(code);
        if (digit < 0) return;
        const std::uint32_t address = CaretAddress(s);
        const std::uint8_t old = ByteUnderCaret(s);
        if (s.PendingNibbleAddress != address) {
            // A new byte: its high nibble; the caret waits for the low one.
            WriteByteUnderCaret(s, static_cast<std::uint8_t>((digit << 4) | (old & 0x0F)));
            s.PendingNibbleAddress = address;
            return;
        }
        WriteByteUnderCaret(s, static_cast<std::uint8_t>((old & 0xF0) | digit));
        AfterTypedByte(s, true);
        s.PendingNibbleAddress = NoPendingNibble;
        return;
    }
    if (code == 8 || code == 13 || code == 27 || ctrlHeld) return;
    WriteByteUnderCaret(s, code);
    AfterTypedByte(s, false);
}

}  // namespace vop
