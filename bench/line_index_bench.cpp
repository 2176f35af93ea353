// Building the text view's line index of a 75 MiB file of short lines, against
// the floor any index that holds the lines pays: reading the file into fresh
// memory in 1 MiB pieces (and, for scale, counting its line feeds with memchr).
// All run in the same process on the same cached file.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "files/real_file_system.h"
#include "state/editor_state.h"
#include "document/line_index.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

// Lines of `lineLength` bytes (the line feed included) up to `size` bytes.
void WriteLines(const std::string& path, std::size_t size, std::size_t lineLength) {
    std::vector<char> chunk(1 << 20);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::exit(1);
    std::size_t column = 0;
    unsigned x = 12345;
    for (std::size_t written = 0; written < size;) {
        const std::size_t n = std::min(chunk.size(), size - written);
        for (std::size_t i = 0; i < n; ++i) {
            if (++column == lineLength) {
                chunk[i] = '\n';
                column = 0;
            } else {
                x = x * 1103515245u + 12345u;
                chunk[i] = static_cast<char>('a' + (x >> 16) % 26);
            }
        }
        std::fwrite(chunk.data(), 1, n, f);
        written += n;
    }
    std::fclose(f);
}

std::size_t CountWithMemchr(const std::string& path) {
    std::vector<char> buffer(1 << 20);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) std::exit(1);
    std::size_t count = 0;
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), f)) > 0;) {
        const char* p = buffer.data();
        const char* end = p + n;
        while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)))) != nullptr) {
            ++count;
            ++p;
        }
    }
    std::fclose(f);
    return count;
}

// What holding the file's bytes at all costs: a fresh block of the file's
// size, read in 1 MiB pieces. Every index that keeps the lines pays this.
std::size_t ReadIntoFreshMemory(const std::string& path, std::size_t size) {
    std::vector<char> bytes(size);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) std::exit(1);
    std::size_t got = 0;
    for (std::size_t n; got < size && (n = std::fread(bytes.data() + got, 1, std::min<std::size_t>(1 << 20, size - got), f)) > 0;)
        got += n;
    std::fclose(f);
    return got + static_cast<unsigned char>(bytes[got / 2]);
}

// The offset-to-line mapping of F4 into the text view, and back, on the
// built index: a search among the marks, then line feeds counted or walked.
void MeasureMappings(const vop::LineIndex& index, std::size_t size) {
    constexpr int Count = 1000000;
    unsigned x = 7;
    std::uint64_t sink = 0;
    const auto t0 = Clock::now();
    for (int i = 0; i < Count; ++i) {
        x = x * 1103515245u + 12345u;
        const std::int32_t line = vop::LineHoldingOffset(index, x % size);
        sink += vop::LineStartOffset(index, line);
    }
    const auto t1 = Clock::now();
    std::printf("  mapping an offset to its line and back: %.3f us each (mean of %d random offsets; check %llu)\n",
                Seconds(t0, t1) * 1e6 / Count, Count, static_cast<unsigned long long>(sink % 10));
}

void Run(const std::string& path, std::size_t size, std::size_t lineLength) {
    WriteLines(path, size, lineLength);
    CountWithMemchr(path);  // into the page cache

    vop::EditorState s;

    s.files = &vop::RealFileSystem();
    s.pages.DocumentPath = path;
    constexpr int Rounds = 7;
    std::vector<double> baseline, index, holding;
    std::size_t lineFeeds = 0, sink = 0;
    for (int r = 0; r < Rounds; ++r) {
        auto t0 = Clock::now();
        lineFeeds = CountWithMemchr(path);
        auto t1 = Clock::now();
        vop::BuildLineIndex(s);
        auto t2 = Clock::now();
        sink += ReadIntoFreshMemory(path, size);
        auto t3 = Clock::now();
        baseline.push_back(Seconds(t0, t1));
        index.push_back(Seconds(t1, t2));
        holding.push_back(Seconds(t2, t3));
    }
    std::sort(baseline.begin(), baseline.end());
    std::sort(index.begin(), index.end());
    std::sort(holding.begin(), holding.end());
    const double b = baseline[Rounds / 2], x = index[Rounds / 2], h = holding[Rounds / 2];
    const double memory = static_cast<double>(s.lines.Store.capacity() + s.lines.Marks.capacity() * sizeof(vop::LineMark));
    std::printf("%zu-byte lines, %zu bytes, %zu line feeds, %d lines indexed\n", lineLength, size, lineFeeds,
                s.lines.LineCount);
    std::printf("  memchr count (1 MiB reads): %8.2f ms (median of %d)\n", b * 1e3, Rounds);
    std::printf("  BuildLineIndex:             %8.2f ms (median of %d)\n", x * 1e3, Rounds);
    std::printf("  ratio index / count:        %8.2f\n", x / b);
    std::printf("  (floor: reading the file into fresh memory %.2f ms, %.2f x the count; check %zu)\n", h * 1e3, h / b,
                sink % 10);
    std::printf("TABLE|text line index, 75 MiB of %zu-byte lines|%.1f ms|%.2fx reading into fresh memory (%.1f ms)|aim <= 1.3x: %s\n",
                lineLength, x * 1e3, x / h, h * 1e3, x / h <= 1.3 ? "met" : "NOT met");
    std::printf("  index memory: %.1f MiB for a %.1f MiB file (%.2f x file size)\n", memory / 1048576.0,
                static_cast<double>(size) / 1048576.0, memory / static_cast<double>(size));
    MeasureMappings(s.lines, size);
    vop::DiscardLineIndex(s);
    std::filesystem::remove(path);
}

}  // namespace

int main() {
    // A folder of our own under the temporary folder (named by the process, portable to Windows).
    const std::string folder = (std::filesystem::temp_directory_path() /
                                ("vop-bench-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())))
                                   .string();
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/lines.txt";
    Run(path, vop::TextViewLimit, 10);
    Run(path, vop::TextViewLimit, 60);
    std::filesystem::remove_all(folder);
    return 0;
}
