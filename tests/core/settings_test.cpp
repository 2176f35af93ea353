// The settings file: what is read back, what is written, and what a damaged
// or protected file must not do to the program.
#include <gtest/gtest.h>

#include "files/real_file_system.h"

#include <filesystem>

#include "files/settings_file.h"
#include "support/temp_files.h"

namespace vop {
namespace {

using test::ReadWholeFile;
using test::TempDir;
using Bytes = std::vector<std::uint8_t>;

// Guards the byte layout: defaults and a changed record round-trip exactly.
TEST(SettingsFile, DefaultsAreWrittenAsElevenKnownBytes) {
    TempDir dir;
    Settings s;
    ASSERT_EQ(SaveSettings(s, RealFileSystem(), dir.file("Vop.cfg")), 0);
    EXPECT_EQ(ReadWholeFile(dir.file("Vop.cfg")), (Bytes{0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0}));
}

TEST(SettingsFile, QuadAndRedForegroundRoundTrip) {
    TempDir dir;
    const Bytes stored{0, 2, 0, 0xFF, 0, 0, 0, 0x10, 0x20, 0x30, 0};
    dir.write("Vop.cfg", stored);
    Settings s;
    ASSERT_EQ(LoadSettings(s, RealFileSystem(), dir.file("Vop.cfg")), 0);
    EXPECT_EQ(s.FontCell, 2);
    EXPECT_EQ(s.ForegroundColor, 0x0000FFu);
    EXPECT_EQ(s.BackgroundColor, 0x302010u);
    ASSERT_EQ(SaveSettings(s, RealFileSystem(), dir.file("Vop.cfg")), 0);
    EXPECT_EQ(ReadWholeFile(dir.file("Vop.cfg")), stored);
}

TEST(SettingsFile, MissingFileKeepsValues) {
    TempDir dir;
    Settings s;
    s.ForegroundColor = 0x123456;
    EXPECT_EQ(LoadSettings(s, RealFileSystem(), dir.file("absent.cfg")), 1);
    EXPECT_EQ(s.ForegroundColor, 0x123456u);
    EXPECT_EQ(s.FontCell, 0);
}

// Guards against a short or hand-edited file driving table lookups out of range.
TEST(SettingsFile, ShortFilesLoadAndAreClamped) {
    TempDir dir;
    struct Case {
        Bytes file;
        std::uint8_t type, cell, block;
        std::uint32_t fg, bg;
    };
    const Case cases[] = {
        {{}, 1, 2, 0, 0x000000, 0xFFFFFF},                         // every setting byte reads as 0xFF
        {{1}, 1, 2, 0, 0x000000, 0xFFFFFF},
        {{0, 1, 1}, 0, 1, 1, 0x000000, 0xFFFFFF},                  // colours wholly past the end keep defaults
        {{0, 1, 1, 0x11, 0x22}, 0, 1, 1, 0x000000, 0xFFFFFF},      // a colour cut short keeps its default
        {{0, 0, 0, 0x11, 0x22, 0x33, 0}, 0, 0, 0, 0x332211, 0xFFFFFF},
        {{7, 9, 200, 1, 2, 3, 0, 4, 5, 6, 0}, 1, 2, 0, 0x030201, 0x060504},  // out of range bytes
    };
    for (const Case& c : cases) {
        dir.write("Vop.cfg", c.file);
        Settings s;
        ASSERT_EQ(LoadSettings(s, RealFileSystem(), dir.file("Vop.cfg")), 0);
        EXPECT_EQ(s.FontType, c.type) << c.file.size();
        EXPECT_EQ(s.FontCell, c.cell) << c.file.size();
        EXPECT_EQ(s.BlockCaret, c.block) << c.file.size();
        EXPECT_EQ(s.ForegroundColor, c.fg) << c.file.size();
        EXPECT_EQ(s.BackgroundColor, c.bg) << c.file.size();
    }
}

TEST(SettingsFile, ExtraBytesAreIgnored) {
    TempDir dir;
    dir.write("Vop.cfg", Bytes{1, 1, 1, 1, 2, 3, 0, 4, 5, 6, 0, 0xEE, 0xEE, 0xEE});
    Settings s;
    ASSERT_EQ(LoadSettings(s, RealFileSystem(), dir.file("Vop.cfg")), 0);
    EXPECT_EQ(s.FontType, 1);
    EXPECT_EQ(s.BackgroundColor, 0x060504u);
    ASSERT_EQ(SaveSettings(s, RealFileSystem(), dir.file("Vop.cfg")), 0);
    EXPECT_EQ(ReadWholeFile(dir.file("Vop.cfg")).size(), 11u);
}

// Guards the user's pinned settings: a read-only file is read, never rewritten.
TEST(SettingsFile, ReadOnlyFileIsReadAndNotRewritten) {
    TempDir dir;
    const Bytes pinned{1, 2, 1, 0, 0, 0xFF, 0, 0, 0, 0, 0};
    const std::string path = dir.write("Vop.cfg", pinned);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    Settings s;
    ASSERT_EQ(LoadSettings(s, RealFileSystem(), path), 0);
    EXPECT_EQ(s.ForegroundColor, 0xFF0000u);
    s.FontCell = 0;
    EXPECT_EQ(SaveSettings(s, RealFileSystem(), path), 1);
    EXPECT_EQ(ReadWholeFile(path), pinned);
}

TEST(SettingsFile, UncreatableFileIsSkipped) {
    TempDir dir;
    Settings s;
    EXPECT_EQ(SaveSettings(s, RealFileSystem(), dir.file("no-such-folder/Vop.cfg")), 1);
}

}  // namespace
}  // namespace vop
