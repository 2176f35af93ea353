#include "view/reader_words.h"

#include <cstdio>

#include "document/line_index.h"
#include "files/unicode_text.h"
#include "view/caret_byte.h"
#include "view/caret_navigation.h"

namespace vop {
namespace {

// The pictures of bytes 0x80 to 0xFF (code page 437), as the fonts draw them.
constexpr char16_t HighPictures[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

struct NamedByte {
    std::uint8_t byte;
    const char* name;
};
// 0xFF draws a hollow square of Vop's own, as 0x00 does: no character.
constexpr NamedByte Named[] = {{0x00, "null"},      {0x07, "bell"},       {0x08, "backspace"},
                               {0x09, "tab"},       {0x0A, "line feed"},  {0x0C, "form feed"},
                               {0x0D, "carriage return"}, {0x1B, "escape"}, {0x20, "space"},
                               {0x7F, "delete"},    {0xFF, "no character"}};

std::string Hex(std::uint32_t value, int digits) {
    char text[12];
    std::snprintf(text, sizeof text, "%0*X", digits, static_cast<unsigned>(value));
    return text;
}

std::string HighPicture(std::uint8_t byte) { return Utf16ToUtf8(std::u16string(1, HighPictures[byte - 0x80])); }

// The top line's bytes as the text view shows them: tabs as blanks, the
// characters and pictures as they are, bytes that draw neither left out.
std::string LineText(const LineIndex& lines) {
    const LineRecord line = IndexedLine(lines, lines.TopLine);
    const std::uint8_t* bytes = lines.Store.data() + line.Start;
    std::string text;
    for (std::uint32_t i = 0; i < line.Length; ++i) {
        const std::uint8_t b = bytes[i];
        if (b == 0x09) text += ' ';
        if (b >= 0x20 && b < 0x7F) text += static_cast<char>(b);
        if (b >= 0x80 && b < 0xFF) text += HighPicture(b);
    }
    return text;
}

}  // namespace

std::string SpokenByte(std::uint8_t byte) {
    for (const NamedByte& n : Named)
        if (n.byte == byte) return n.name;
    if (byte < 0x20) return "control character";
    if (byte < 0x80) return std::string(1, static_cast<char>(byte));
    return HighPicture(byte);
}

ReaderWords DataWindowWords(const EditorState& s) {
    if (!s.documentOpen()) return {"No file open", ""};
    if (s.TextViewOn && s.lines.built() && s.lines.TopLine < s.lines.LineCount) {
        const std::string text = LineText(s.lines);
        return {"Line " + std::to_string(s.lines.TopLine + 1) + ": " + text, text};
    }
    const std::optional<std::uint8_t> byte = CaretByte(s);
    if (!byte) return {"No file open", ""};
    const std::uint32_t address = CaretAddress(s);
    std::string name = "Address " + Hex(address, 8) + ", byte " + Hex(*byte, 2) + ", " + SpokenByte(*byte);
    // Hex typing writes the high digit at once and waits for the low one.
    if (s.settings.FontType == 1 && s.PendingNibbleAddress == address) name += ", low digit to come";
    return {name, Hex(*byte, 2)};
}

}  // namespace vop
