// The settings file and the text of file names: what is read back, what is
// written, and what a damaged file or an unusual name must not do to the
// program. (A settings file that is missing, or that the user made read-only, is
// seen by the Wine start-up tests; the font files' rules by the start-up
// tests, under Wine and natively, and by their fuzz target.)
#include <gtest/gtest.h>

#include "files/real_file_system.h"
#include "files/settings_file.h"
#include "files/unicode_text.h"
#include "support/temp_files.h"

namespace vop {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The byte layout, and short or hand-edited files that must not drive a
// table lookup out of range: a setting byte past the end reads as 0xFF, a
// colour cut short keeps its value, out-of-range bytes are clamped, extra
// bytes are ignored and never written back.
TEST(SettingsFile, LayoutShortFilesAndClamping) {
    const struct { Bytes file; std::uint8_t type, cell, block; std::uint32_t fg, bg; Bytes saved; } cases[] = {
        {{0, 2, 0, 0xFF, 0, 0, 0, 0x10, 0x20, 0x30, 0}, 0, 2, 0, 0x0000FF, 0x302010, {0, 2, 0, 0xFF, 0, 0, 0, 0x10, 0x20, 0x30, 0}},
        {{}, 1, 2, 0, 0x000000, 0xFFFFFF, {1, 2, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0}},
        {{0, 1, 1, 0x11, 0x22}, 0, 1, 1, 0x000000, 0xFFFFFF, {0, 1, 1, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0}},
        {{7, 9, 200, 1, 2, 3, 0, 4, 5, 6, 0, 0xEE}, 1, 2, 0, 0x030201, 0x060504, {1, 2, 0, 1, 2, 3, 0, 4, 5, 6, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.size());
        test::TempDir dir;
        const std::string path = dir.write("Vop.cfg", c.file);
        Settings s;
        ASSERT_EQ(LoadSettings(s, RealFileSystem(), path), 0);
        EXPECT_EQ(std::make_tuple(s.FontType, s.FontCell, s.BlockCaret, s.ForegroundColor, s.BackgroundColor),
                  std::make_tuple(c.type, c.cell, c.block, c.fg, c.bg));
        ASSERT_EQ(SaveSettings(s, RealFileSystem(), path), 0);
        EXPECT_EQ(test::ReadWholeFile(path), c.saved);
    }
}

// Names in any script reach the file calls intact (the fuzz target checks the
// round trip for any name): exact encodings, an unpaired surrogate (Windows
// allows them) kept, a broken sequence becoming U+FFFD without eating what
// follows, lengths counted as Windows counts, and long paths in the extended form.
TEST(UnicodeText, EncodingsAndLongPaths) {
    EXPECT_EQ(Utf16ToUtf8(u"\u03a9\U0001F642\xD800"), "\xCE\xA9\xF0\x9F\x99\x82\xED\xA0\x80");
    EXPECT_TRUE(Utf8ToUtf16("\xCE\xA9\xF0\x9F\x99\x82\xED\xA0\x80") == u"\u03a9\U0001F642\xD800");
    EXPECT_TRUE(Utf8ToUtf16("a\xC3(b\xF0\x9F\x99") == u"a\uFFFD(b\uFFFD\uFFFD\uFFFD");
    EXPECT_TRUE(Utf8ToUtf16("\xC0\xAF\xF4\x90\x80\x80") == std::u16string(6, u'\uFFFD'));  // overlong, past U+10FFFF
    EXPECT_EQ(Utf16Length("\xCE\xA9\xF0\x9F\x99\x82"), 3u);
    const std::u16string folder(250, u'd');
    EXPECT_TRUE(ExtendedLengthPath(u"C:\\" + folder) == u"\\\\?\\C:\\" + folder);
    EXPECT_TRUE(ExtendedLengthPath(u"\\\\server\\share\\" + folder) == u"\\\\?\\UNC\\server\\share\\" + folder);
    for (const std::u16string& same : {u"\\\\?\\C:\\" + folder, u"relative\\" + folder, u"C:\\" + folder.substr(0, 244)})
        EXPECT_TRUE(ExtendedLengthPath(same) == same);
}

}  // namespace
}  // namespace vop
