// The file layer's own pieces: the UTF-8/UTF-16 conversions every file name
// and text passes through, the settings file's bytes, and the real files'
// streams. (Opening, saving and reading documents through them is checked
// by the document's and the editor's tests.)
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "files/real_file_system.h"
#include "files/settings_file.h"
#include "files/unicode_text.h"
#include "support/temp_files.h"

namespace vop {
namespace {

using namespace std;
using test::Bytes;

// A name in any script survives both ways (each length of sequence at both
// its ends among them), and so does a lone surrogate
// (Windows names may hold one), as its three bytes, also at the very end of
// a text cut from a longer one. Bytes that start no sequence, overlong
// forms, values past U+10FFFF and cut sequences become U+FFFD a byte at a
// time. Lengths count UTF-16 units, as Windows does.
TEST(UnicodeText, NamesSurviveBothWays) {
    struct {
        string utf8;
        u16string utf16;
        bool back;  // the UTF-16 turns into the same UTF-8
    } cases[] = {
        {"Ωμέγα-数据-🙂.bin", u"Ωμέγα-数据-🙂.bin", true},
        {"\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80", u"\x7F\u0080\u07FF\u0800\uFFFF\U00010000", true},
        {"\xED\xA0\x80", u"\xD800", true},
        {"\xED\xA0\x80" "b\xED\xB0\x80", u"\xD800" "b\xDC00", true},
        {"\xED\xA0\x80\xED\xB0\x80", u"\xD800\xDC00", false},
        {"\xC0\x80\xE0\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD\xFFFD", false},
        {"\xF4\x90\x80\x80\xF4\x8F\xBF\xBF", u"\xFFFD\xFFFD\xFFFD\xFFFD\U0010FFFF", false},
        {"a\xFF\xE2(\xAC\xE2\x82", u"a\xFFFD\xFFFD(\xFFFD\xFFFD\xFFFD", false},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
        EXPECT_EQ(Utf16Length(c.utf8), c.utf16.size());
        if (c.back) {
            EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
        }
    }
    EXPECT_EQ(Utf16ToUtf8(u16string_view(u"\xD800\xDC00", 1)), "\xED\xA0\x80");
}

// Absolute paths of 248 characters and more take the extended-length form;
// shorter, relative and already prefixed ones stay as they are.
TEST(UnicodeText, LongPathsTakeTheExtendedForm) {
    u16string tail(244, u'x');
    pair<u16string, u16string> cases[] = {
        {u"C:\\" + tail, u"C:\\" + tail},
        {u"C:\\x" + tail, u"\\\\?\\C:\\x" + tail},
        {u"C:/x" + tail, u"\\\\?\\C:/x" + tail},
        {u"\\\\s\\" + tail, u"\\\\?\\UNC\\s\\" + tail},
        {u"\\\\?\\C:\\" + tail, u"\\\\?\\C:\\" + tail},
        {u"\\\\.\\pipe" + tail, u"\\\\.\\pipe" + tail},
        {u"dir\\xxxx" + tail, u"dir\\xxxx" + tail},
    };
    for (auto& [path, extended] : cases) EXPECT_EQ(ExtendedLengthPath(path), extended) << path.size();
}

// The settings file's bytes: each setting in its place, out-of-range values
// clamped to what shows, a colour cut short keeping its value whole. What is
// written reads back; a file marked read-only stays as it is.
TEST(SettingsFile, BytesInTheirPlaces) {
    struct {
        Bytes file;
        Settings want;
    } cases[] = {
        {{1, 2, 1, 0x11, 0x22, 0x33, 0, 0x55, 0x66, 0x77, 0}, {1, 2, 1, 0x332211, 0x776655}},
        {{7, 9, 5, 0x11, 0x22, 0x33, 0, 0x55, 0x66}, {1, 2, 0, 0x332211, 0xABCDEF}},
        {{0, 1, 1, 0x11, 0x22, 0x33}, {0, 1, 1, 0x123456, 0xABCDEF}},
        {{0}, {0, 2, 0, 0x123456, 0xABCDEF}},
    };
    test::TempDir dir;
    string path = dir.file("Vop.cfg");
    auto fields = [](const Settings& s) {
        return tuple(int(s.FontType), int(s.FontCell), int(s.BlockCaret), s.ForegroundColor, s.BackgroundColor);
    };
    for (auto& c : cases) {
        Settings got{0, 0, 0, 0x123456, 0xABCDEF};
        dir.write("Vop.cfg", c.file);
        EXPECT_EQ(LoadSettings(got, RealFileSystem(), path), 0);
        EXPECT_EQ(fields(got), fields(c.want));
        EXPECT_EQ(SaveSettings(got, RealFileSystem(), path), 0);
        Settings again;
        LoadSettings(again, RealFileSystem(), path);
        EXPECT_EQ(fields(again), fields(c.want));
    }
    chmod(path.c_str(), 0444);
    EXPECT_EQ(SaveSettings(Settings{}, RealFileSystem(), path), 1);
    EXPECT_EQ(test::ReadWholeFile(path).at(0), 0);
}

// The real files' streams: an update never makes a missing file (a save to a
// file that vanished must not make it anew); what was just written counts
// in the size and is passed by the next read or write; a close reports
// success once.
TEST(RealFiles, StreamsReadWhatWasWritten) {
    test::TempDir dir;
    EXPECT_EQ(RealFileSystem().open(dir.file("gone"), OpenMode::Update), nullptr);
    EXPECT_EQ(RealFileSystem().open(dir.file("gone"), OpenMode::Read), nullptr);
    string path = dir.write("f", {'a', 'b', 'c', 'd'});
    unique_ptr<OpenFile> f = RealFileSystem().open(path, OpenMode::Update);
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->seek(3));
    EXPECT_EQ(f->write("XYZ", 3), 3u);
    EXPECT_EQ(f->size(), 6u);
    EXPECT_EQ(f->write("!", 1), 1u);  // on from where the last write ended, whatever size() did
    EXPECT_TRUE(f->seek(0));
    EXPECT_EQ(f->write("Q", 1), 1u);
    char got[3] = {};
    EXPECT_EQ(f->read(got, 3), 3u);
    EXPECT_EQ(string(got, 3), "bcX");
    EXPECT_TRUE(f->close());
    EXPECT_EQ(test::ReadWholeFile(path), (Bytes{'Q', 'b', 'c', 'X', 'Y', 'Z', '!'}));
}

}  // namespace
}  // namespace vop
