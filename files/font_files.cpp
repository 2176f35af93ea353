#include "files/font_files.h"

#include <cstring>
#include <vector>

namespace vop {
namespace {

// Reads the whole table aside first, so that a short file leaves it as it was.
bool LoadTable(std::uint8_t* table, std::size_t size, FileSystem& files, const std::string& path) {
    std::unique_ptr<OpenFile> file = files.open(path, OpenMode::Read);
    if (!file) return false;
    std::vector<std::uint8_t> bytes(size);
    std::size_t count = 0;
    while (count < size) {
        const std::size_t got = file->read(bytes.data() + count, size - count);
        if (got == 0 || got > size - count) break;
        count += got;
    }
    file->close();
    if (count != size) return false;
    std::memcpy(table, bytes.data(), size);
    return true;
}

template <std::size_t A, std::size_t B, std::size_t C>
int LoadThree(std::array<std::uint8_t, A>& a, std::array<std::uint8_t, B>& b, std::array<std::uint8_t, C>& c,
              FileSystem& files, const std::string& dir, const char* na, const char* nb, const char* nc) {
    if (!LoadTable(a.data(), A, files, dir + na)) return 0;
    if (!LoadTable(b.data(), B, files, dir + nb)) return 0;
    if (!LoadTable(c.data(), C, files, dir + nc)) return 0;
    return 1;
}

}  // namespace

int LoadFontFiles(GlyphTables& t, FileSystem& files, const std::string& directory, const char* normal,
                  const char* doubled, const char* quad) {
    return LoadThree(t.font8x16, t.font16x32, t.font32x64, files, directory, normal, doubled, quad);
}

int LoadDigitFiles(GlyphTables& t, FileSystem& files, const std::string& directory, const char* normal,
                   const char* doubled, const char* quad) {
    return LoadThree(t.digits8x8, t.digits16x16, t.digits32x32, files, directory, normal, doubled, quad);
}

}  // namespace vop
