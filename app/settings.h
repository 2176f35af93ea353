// The settings file "Vop.cfg": 11 bytes beside the program.
//   0 FontType, 1 FontCell, 2 BlockCaret, 3..6 ForegroundColor, 7..10 BackgroundColor
// (colours little-endian 0x00BBGGRR). No header, no version.
#pragma once

#include <string>

#include "app/editor_state.h"

namespace vop {

constexpr const char* SettingsFileName = "Vop.cfg";

// Reads the file into `settings`. A missing file leaves the values as they are
// (result 1). A short file still loads: a setting byte past the end reads as
// 0xFF and a colour wholly past the end keeps its value. Out-of-range bytes
// are clamped so no later table lookup can go astray. Result 0 when read.
int LoadSettings(Settings& settings, const std::string& path);

// Writes the 11 bytes. A read-only or uncreatable file is skipped silently (result 1).
int SaveSettings(const Settings& settings, const std::string& path);

// Keeps FontCell within 0..2 and FontType, BlockCaret within 0..1.
void ClampSettings(Settings& settings);

}  // namespace vop
