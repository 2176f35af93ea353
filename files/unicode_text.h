// Conversions between the UTF-8 the core speaks and the UTF-16 of Windows
// names and texts. Windows file names may hold unpaired surrogates; they are
// carried as three-byte sequences (generalised UTF-8), so every name the
// system hands over can be opened again.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vop {

std::string Utf16ToUtf8(std::u16string_view text);

// Bytes that start no valid sequence become U+FFFD one at a time, so the
// result is never shorter than what the text meant.
std::u16string Utf8ToUtf16(std::string_view text);

// The length Windows counts: UTF-16 code units.
std::size_t Utf16Length(std::string_view utf8);

// An absolute path long enough to trip the old 260-character limit, in the
// form that passes it: \\?\C:\... or \\?\UNC\server\share\... . Relative,
// short and already prefixed paths come back unchanged.
std::u16string ExtendedLengthPath(std::u16string_view path);

}  // namespace vop
