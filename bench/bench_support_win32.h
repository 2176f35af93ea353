// Small helpers shared by the benchmarks that run under Wine: a clock, the
// median of a series of timings, and loading the real font files.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "files/font_files.h"
#include "files/real_file_system.h"
#include "state/editor_state.h"

namespace vop::bench {

class Stopwatch {
public:
    Stopwatch() {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        frequency_ = static_cast<double>(f.QuadPart);
        restart();
    }
    void restart() { QueryPerformanceCounter(&start_); }
    double milliseconds() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) * 1000.0 / frequency_;
    }

private:
    double frequency_ = 1;
    LARGE_INTEGER start_{};
};

inline double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

inline double Minimum(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

// A folder name with its trailing separator, as the font loaders expect it.
inline std::string FolderWithSeparator(std::string folder) {
    if (folder.empty()) return folder;
    const char last = folder.back();
    if (last != '\\' && last != '/') folder += '\\';
    return folder;
}

// The six font files as the program loads them. False (with a message) when
// any is missing or short: a benchmark on empty glyphs would measure nothing.
inline bool LoadRealFonts(GlyphTables& tables, const std::string& folder) {
    const std::string dir = FolderWithSeparator(folder);
    if (LoadFontFiles(tables, RealFileSystem(), dir, "font.fnt", "font1.fnt", "font2.fnt") != 1 ||
        LoadDigitFiles(tables, RealFileSystem(), dir, "digits.fnt", "digits1.fnt", "digits2.fnt") != 1) {
        std::fprintf(stderr, "cannot load the six font files from \"%s\"\n", dir.c_str());
        return false;
    }
    return true;
}

// A 32-bit top-down DIB section; the layout of the glyph strips and of the
// data window's back buffer.
inline HBITMAP CreateTopDownDib(HDC dc, int width, int height, void** bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

}  // namespace vop::bench
