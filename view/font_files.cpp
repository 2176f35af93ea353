#include "view/font_files.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace vop {
namespace {

// One block read of the whole table; a short file leaves the load failed.
bool LoadTable(std::uint8_t* table, std::size_t size, const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    // Read aside first so that a short file leaves the table as it was.
    std::vector<std::uint8_t> bytes(size);
    const bool whole = std::fread(bytes.data(), size, 1, f) == 1;
    std::fclose(f);
    if (whole) std::memcpy(table, bytes.data(), size);
    return whole;
}

template <std::size_t A, std::size_t B, std::size_t C>
int LoadThree(std::array<std::uint8_t, A>& a, std::array<std::uint8_t, B>& b, std::array<std::uint8_t, C>& c,
              const std::string& dir, const char* na, const char* nb, const char* nc) {
    if (!LoadTable(a.data(), A, dir + na)) return 0;
    if (!LoadTable(b.data(), B, dir + nb)) return 0;
    if (!LoadTable(c.data(), C, dir + nc)) return 0;
    return 1;
}

}  // namespace

int LoadFontFiles(GlyphTables& t, const std::string& directory, const char* normal, const char* doubled,
                  const char* quad) {
    return LoadThree(t.font8x16, t.font16x32, t.font32x64, directory, normal, doubled, quad);
}

int LoadDigitFiles(GlyphTables& t, const std::string& directory, const char* normal, const char* doubled,
                   const char* quad) {
    return LoadThree(t.digits8x8, t.digits16x16, t.digits32x32, directory, normal, doubled, quad);
}

}  // namespace vop
