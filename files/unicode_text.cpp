#include "files/unicode_text.h"

namespace vop {
namespace {

constexpr char32_t Replacement = 0xFFFD;

void PutUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void PutUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

// Decodes the sequence at text[i], advancing i past it. Overlong forms and
// values above U+10FFFF are refused; a lone surrogate's three bytes are
// accepted so that such names survive the round trip.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t extra = 0;
    char32_t c = 0, least = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1, c = lead & 0x1Fu, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2, c = lead & 0x0Fu, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, c = lead & 0x07u, least = 0x10000;
    } else {
        ++i;
        return Replacement;
    }
    if (text.size() - i <= extra) {
        ++i;
        return Replacement;
    }
    for (std::size_t k = 1; k <= extra; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return Replacement;
        }
        c = (c << 6) | (byte(i + k) & 0x3Fu);
    }
    if (c < least || c > 0x10FFFF) {
        ++i;
        return Replacement;
    }
    i += extra + 1;
    return c;
}

bool IsSlash(char16_t c) { return c == u'\\' || c == u'/'; }

}  // namespace

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
        }
        PutUtf8(out, c);
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) PutUtf16(out, NextCodePoint(text, i));
    return out;
}

std::size_t Utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < utf8.size();) units += NextCodePoint(utf8, i) >= 0x10000 ? 2 : 1;
    return units;
}

std::u16string ExtendedLengthPath(std::u16string_view path) {
    // The old calls take at most 259 characters and a folder at most 247:
    // anything that long or longer goes the long way.
    constexpr std::size_t ShortEnough = 247;
    if (path.size() <= ShortEnough) return std::u16string(path);
    const bool drive = path.size() >= 3 && path[1] == u':' && IsSlash(path[2]);
    const bool unc = path.size() >= 3 && IsSlash(path[0]) && IsSlash(path[1]) && path[2] != u'?' && path[2] != u'.';
    if (drive) return u"\\\\?\\" + std::u16string(path);
    if (unc) return u"\\\\?\\UNC\\" + std::u16string(path.substr(2));
    return std::u16string(path);
}

}  // namespace vop
