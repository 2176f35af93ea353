// The settings file "Vop.cfg": 11 bytes beside the program.
//   0 FontType, 1 FontCell, 2 BlockCaret, 3..6 ForegroundColor, 7..10 BackgroundColor
// (colours little-endian 0x00BBGGRR). No header, no version.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "state/file_system.h"
#include "state/settings.h"

namespace vop {

constexpr const char* SettingsFileName = "Vop.cfg";
constexpr std::size_t SettingsFileSize = 11;

// Takes the settings from the first `count` bytes of a file's contents. A
// setting byte past the end reads as 0xFF and a colour cut short keeps its
// value; out-of-range bytes are clamped so no later table lookup can go astray.
void ParseSettings(Settings& settings, const std::uint8_t* bytes, std::size_t count);

// Reads the file into `settings`: result 0 when read; 1 when missing, the
// values then staying as they are.
int LoadSettings(Settings& settings, FileSystem& files, const std::string& path);

// Writes the 11 bytes: result 0. A file marked read-only (the user's way to
// pin the settings) or one that cannot be made is left alone: result 1.
int SaveSettings(const Settings& settings, FileSystem& files, const std::string& path);

}  // namespace vop
