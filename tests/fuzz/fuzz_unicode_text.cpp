// The UTF-8 and UTF-16 conversions: any UTF-16 (unpaired surrogates included)
// survives the trip through UTF-8, any bytes decode to what Utf16Length counts,
// and a long path only ever gains its prefix.
#include "files/unicode_text.h"
#include "fuzz_support.h"

using namespace vop;

// The input read both as UTF-8 and as UTF-16 code units.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string decoded = Utf8ToUtf16(bytes);
    Require(Utf16Length(bytes) == decoded.size() && Utf8ToUtf16(Utf16ToUtf8(decoded)) == decoded);
    std::u16string text(size / 2, u'\0');  // little-endian, as Windows keeps it
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    const std::string utf8 = Utf16ToUtf8(text);
    Require(Utf8ToUtf16(utf8) == text && Utf16ToUtf8(Utf8ToUtf16(utf8)) == utf8 && Utf16Length(utf8) == text.size());
    // Short paths stay as they are, and a prefixed path is left alone.
    const std::u16string path = ExtendedLengthPath(text);
    Require(path.size() >= text.size() && (text.size() > 247 || path == text) && ExtendedLengthPath(path) == path);
    Require(path == text || path == u"\\\\?\\" + text || path == u"\\\\?\\UNC\\" + text.substr(2));
    return 0;
}
