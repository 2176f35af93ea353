// The settings file and the text of file names: what is read back, what is
// written, and what a damaged or protected file or an unusual name must not
// do to the program. (The font files' rules are checked by the start-up
// tests, under Wine and natively, and by their fuzz target.)
#include <gtest/gtest.h>

#include <filesystem>

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
        {{0, 0, 0, 0x11, 0x22, 0x33, 0}, 0, 0, 0, 0x332211, 0xFFFFFF, {0, 0, 0, 0x11, 0x22, 0x33, 0, 0xFF, 0xFF, 0xFF, 0}},
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

// A missing file keeps the values; a read-only one (the user's way to pin
// the settings) is read and never rewritten, even by an administrator; one
// that cannot be made is skipped.
TEST(SettingsFile, MissingPinnedAndUncreatableFiles) {
    test::TempDir dir;
    Settings s;
    s.ForegroundColor = 0x123456;
    EXPECT_EQ(LoadSettings(s, RealFileSystem(), dir.file("absent.cfg")), 1);
    EXPECT_EQ(s.ForegroundColor, 0x123456u);
    const Bytes pinned{1, 2, 1, 0, 0, 0xFF, 0, 0, 0, 0, 0};
    const std::string path = dir.write("Vop.cfg", pinned);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    ASSERT_EQ(LoadSettings(s, RealFileSystem(), path), 0);
    s.FontCell = 0;
    EXPECT_EQ(SaveSettings(s, RealFileSystem(), path), 1);
    EXPECT_EQ(test::ReadWholeFile(path), pinned);
    EXPECT_EQ(SaveSettings(s, RealFileSystem(), dir.file("no-such-folder/Vop.cfg")), 1);
}

// Names in any script reach the file calls intact: the conversions are
// exact both ways, a name with an unpaired surrogate (Windows allows them)
// survives, a broken sequence becomes U+FFFD without eating what follows, and
// lengths count as Windows counts them.
TEST(UnicodeText, NamesSurviveTheWayThroughTheCore) {
    const std::u16string names[] = {u"plain.bin", u"\u03a9\u03bc\u03ad\u03b3\u03b1-\u6570\u636e-\U0001F642.bin",
                                    u"lone-\xD800-high", u"lone-\xDC00-low", u"\xDBFF\xDFFF-last"};
    for (const std::u16string& name : names) {
        const std::string utf8 = Utf16ToUtf8(name);
        EXPECT_TRUE(Utf8ToUtf16(utf8) == name);
        EXPECT_EQ(Utf16Length(utf8), name.size());
    }
    EXPECT_EQ(Utf16ToUtf8(u"\U0001F642"), "\xF0\x9F\x99\x82");
    EXPECT_TRUE(Utf8ToUtf16("a\xC3(b\xF0\x9F\x99") == u"a\uFFFD(b\uFFFD\uFFFD\uFFFD");
    EXPECT_TRUE(Utf8ToUtf16("\xC0\xAF\xF4\x90\x80\x80") == std::u16string(6, u'\uFFFD'));  // overlong, past U+10FFFF
}

// Paths too long for the old calls take the extended-length form; others
// stay as they are.
TEST(UnicodeText, LongPathsTakeTheExtendedForm) {
    const std::u16string folder(250, u'd');
    EXPECT_TRUE(ExtendedLengthPath(u"C:\\" + folder) == u"\\\\?\\C:\\" + folder);
    EXPECT_TRUE(ExtendedLengthPath(u"\\\\server\\share\\" + folder) == u"\\\\?\\UNC\\server\\share\\" + folder);
    EXPECT_TRUE(ExtendedLengthPath(u"\\\\?\\C:\\" + folder) == u"\\\\?\\C:\\" + folder);
    EXPECT_TRUE(ExtendedLengthPath(u"relative\\" + folder) == u"relative\\" + folder);
    EXPECT_TRUE(ExtendedLengthPath(u"C:\\" + folder.substr(0, 244)) == u"C:\\" + folder.substr(0, 244));
}

}  // namespace
}  // namespace vop
