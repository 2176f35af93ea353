// Typing over the byte under the caret: characters in Ascii font type, hex
// digits (high nibble, then low nibble) in Hex font type. The text view types
// over the byte under its hidden hex caret.
#include "app/data_window_input.h"
#include "app/operation.h"
#include "view/caret_byte.h"
#include "view/caret_navigation.h"
#include "view/status_text.h"

namespace vop {
namespace {

int HexDigitValue(std::uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

void AfterTypedByte(EditorState& s) {
    MoveRight(s);
    SyncScrollPosition(s);
    PlaceCaret(s);
    ShowCaretAddress(s);
}

}  // namespace

void DataWindowChar(EditorState& s, std::uint8_t code, KeyModifiers mods) {
    const Operation operation(s);
    const std::optional<std::uint8_t> old = CaretByte(s);
    // A character that comes with Ctrl held belongs to a shortcut, not to
    // typing, in either font type: Ctrl with the keypad's 0 brings a "0"
    // that must not become a hex digit. With Alt too it is AltGr's: typed.
    if (operation.refused() || !old || mods.shortcut()) return;
    if (s.settings.FontType == 1) {
        const int digit = HexDigitValue(code);
        if (digit < 0) return;
        const std::uint32_t address = CaretAddress(s);
        if (s.PendingNibbleAddress != address) {
            // A new byte: its high nibble; the caret waits for the low one.
            WriteCaretByte(s, static_cast<std::uint8_t>((digit << 4) | (*old & 0x0F)));
            s.PendingNibbleAddress = address;
            return;
        }
        WriteCaretByte(s, static_cast<std::uint8_t>((*old & 0xF0) | digit));
        AfterTypedByte(s);
        s.PendingNibbleAddress = NoPendingNibble;
        return;
    }
    if (code == 8 || code == 13 || code == 27) return;
    WriteCaretByte(s, code);
    AfterTypedByte(s);
}

}  // namespace vop
