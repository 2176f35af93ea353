// What the program's own entry fields share: the keys they understand,
// where a position sits on screen, and what a handled input asks the window to do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vop {

// Virtual-key codes the fields react to (the low byte of WM_KEYDOWN's wParam).
namespace fieldkey {
constexpr unsigned Backspace = 8;
constexpr unsigned End = 35;
constexpr unsigned Home = 36;
constexpr unsigned Left = 37;
constexpr unsigned Right = 39;
constexpr unsigned Delete = 46;
constexpr unsigned LetterV = 0x56;  // with Ctrl held: paste
}  // namespace fieldkey

// The modifier keys held with a key or a character. Windows reports AltGr,
// which types @ { [ ] \ ~ and more on German, French, Polish or Czech
// keyboards, as Ctrl and Alt held together: only Ctrl without Alt makes a
// shortcut.
struct HeldKeys {
    bool ctrl = false;
    bool alt = false;
    bool shortcut() const { return ctrl && !alt; }
};

// The digit a key stands for: the keys 0-9, the letter keys A-F (Shift does not
// matter, the key code is the same) and the keypad's 0-9. Only the low byte of
// the key code counts. Any other key stands for no digit.
std::optional<std::uint8_t> DigitKeyValue(unsigned virtualKey);

// The digit a character stands for: 0-9, A-F and a-f; nothing for any other.
std::optional<std::uint8_t> HexCharValue(char c);

// The digits of a text, in order, every other character left out.
std::string HexDigitsOf(const char* text);

// What a field's standard text request gets: at most `room` - 1 characters of
// `text` and a terminating zero (nothing at all when there is no room).
// Returns the characters copied.
std::size_t CopyFieldText(const std::string& text, char* buffer, std::size_t room);

// Every position is one 8-pixel glyph wide, starting one pixel in; the caret is
// an 8 × 1 underline just below the glyph's body.
constexpr int FieldPositionWidth = 8;
constexpr int FieldCaretWidth = 8;
constexpr int FieldCaretHeight = 1;
constexpr int FieldCaretY = 14;
inline int FieldPositionX(std::int32_t position) { return FieldPositionWidth * position + 1; }

// The character a digit value 0..15 is drawn as.
inline std::uint8_t HexDigitChar(std::uint8_t digit) {
    return static_cast<std::uint8_t>("0123456789ABCDEF"[digit & 0x0F]);
}

// What the window must do after the record handled an input. The caret
// position itself is in the record.
struct FieldOutcome {
    bool placeCaret = false;        // move the system caret to the record's caret
    bool repaint = false;           // invalidate the field, erasing the background
    bool playDefaultSound = false;  // the field refused input: play the system's refusal sound
    bool takeFocus = false;         // give the field the keyboard focus
    bool updatePartner = false;     // the content changed: hand it to the partner field
};

// One character to draw at (x, 0) of the field's client area.
struct FieldGlyph {
    int x = 0;
    std::uint8_t code = 0;
};

}  // namespace vop
