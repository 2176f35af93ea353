// The font files: whatever the six files are (missing, short, exact or long),
// the tables of a set before its first failing file are filled from their
// files, and the failing table and those after it are left as they were.
#include <cstring>

#include "files/font_files.h"
#include "fuzz_support.h"

using namespace vop;

// The six tables, one after another in GlyphTables (bytes only: no padding).
constexpr std::size_t Sizes[] = {4096, 16384, 65536, 128, 512, 2048};

// Byte 0: the longest read; bytes 1-6: each file's kind (low 2 bits: missing,
// short, exact, long) and how short or long. File i is the input from byte 1+i
// on, then its kind byte repeated: never 0, so a table filled by mistake shows.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 7) return 0;
    const auto got = std::make_unique<GlyphTables>(), want = std::make_unique<GlyphTables>();
    MemoryFileSystem fs;
    fs.chunk = (data[0] + 1u) * 61u;  // short reads, yet at most 1075 for the 64 KiB table
    bool whole[2] = {true, true};  // the font set, the digit set
    for (std::size_t i = 0, offset = 0; i < 6; offset += Sizes[i++]) {
        const unsigned kind = data[1 + i] & 3u, amount = data[1 + i] >> 2;
        Bytes file(kind == 1 ? (Sizes[i] - 1) * amount / 63 : kind == 2 ? Sizes[i] : Sizes[i] + amount, data[1 + i]);
        std::copy_n(data + 1 + i, std::min(size - 1 - i, file.size()), file.begin());
        whole[i / 3] = whole[i / 3] && kind >= 2;
        if (whole[i / 3]) std::memcpy(reinterpret_cast<std::uint8_t*>(want.get()) + offset, file.data(), Sizes[i]);
        if (kind != 0) fs.files[std::string(1, static_cast<char>('a' + i))] = std::move(file);
    }
    Require(LoadFontFiles(*got, fs, "", "a", "b", "c") == whole[0]);
    Require(LoadDigitFiles(*got, fs, "", "d", "e", "f") == whole[1]);
    Require(std::memcmp(got.get(), want.get(), sizeof(GlyphTables)) == 0);
    return 0;
}
