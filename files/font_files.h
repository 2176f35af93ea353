// The six bitmap font files beside the program. Each is a bare glyph table:
// glyphs in order, rows from the top, 1/2/4 bytes a row, bit 7 the leftmost pixel.
#pragma once

#include <string>

#include "state/file_system.h"
#include "state/glyphs.h"

namespace vop {

// Fills the 8×16, 16×32 and 32×64 character tables from the three files in
// `directory` (which ends with its separator). Stops at the first file that
// is missing or too short: the tables before it stay filled, that table and
// the ones after it untouched. Returns 1 when all three were filled, 0
// otherwise. Extra bytes are ignored.
int LoadFontFiles(GlyphTables& tables, FileSystem& files, const std::string& directory, const char* normal,
                  const char* doubled, const char* quad);

// The same for the 8×8, 16×16 and 32×32 digit tables.
int LoadDigitFiles(GlyphTables& tables, FileSystem& files, const std::string& directory, const char* normal,
                   const char* doubled, const char* quad);

}  // namespace vop
