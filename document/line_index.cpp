#include "document/line_index.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace vop {
namespace {

constexpr std::size_t ReadChunk = 1u << 20;
constexpr std::uint8_t LineFeed = 0x0A;

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr bool WordScan = true;
#else
constexpr bool WordScan = false;
#endif

// One bit (the top bit of the byte) for every line feed in an 8-byte word.
// Exact per byte: the masked addition never carries from one byte into the next.
inline std::uint64_t LineFeedMask(std::uint64_t word) {
    constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7Full;
    const std::uint64_t t = word ^ 0x0A0A0A0A0A0A0A0Aull;
    return ~(((t & low7) + low7) | t | low7);
}

inline std::uint64_t LoadWord(const std::uint8_t* p) {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

std::uint64_t CountLineFeeds(const std::uint8_t* p, std::size_t count) {
    std::uint64_t total = 0;
    std::size_t i = 0;
    if (WordScan) {
        for (; i + 8 <= count; i += 8) total += static_cast<std::uint64_t>(__builtin_popcountll(LineFeedMask(LoadWord(p + i))));
    }
    for (; i < count; ++i) total += p[i] == LineFeed;
    return total;
}

// Records every line of `bytes`: split at line feeds only (a carriage return
// stays in its line), each line capped at MaxLineLength bytes with the rest of
// it dropped, and an empty last line after a final line feed. This is exactly
// what reading the file byte by byte to each line feed gives.
void SplitLines(const std::vector<std::uint8_t>& bytes, std::vector<LineRecord>& lines) {
    const std::uint8_t* p = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t lineStart = 0;
    auto endLine = [&](std::size_t end) {
        const std::size_t length = std::min<std::size_t>(end - lineStart, MaxLineLength);
        lines.push_back({static_cast<std::uint32_t>(lineStart), static_cast<std::uint32_t>(length)});
        lineStart = end + 1;
    };
    std::size_t i = 0;
    if (WordScan) {
        for (; i + 8 <= size; i += 8) {
            for (std::uint64_t m = LineFeedMask(LoadWord(p + i)); m != 0; m &= m - 1)
                endLine(i + static_cast<std::size_t>(__builtin_ctzll(m)) / 8);
        }
    }
    for (; i < size; ++i)
        if (p[i] == LineFeed) endLine(i);
    endLine(size);
}

// Allocation within the caller's budget; over it counts as running out of memory.
void Charge(std::size_t& budget, std::size_t bytes) {
    if (bytes > budget) throw std::bad_alloc();
    budget -= bytes;
}

}  // namespace

void BuildLineIndex(EditorState& s) { BuildLineIndexWithin(s, std::numeric_limits<std::size_t>::max()); }

bool BuildLineIndexWithin(EditorState& s, std::size_t memoryLimit) {
    DiscardLineIndex(s);
    std::unique_ptr<OpenFile> file = s.Files().open(s.pages.DocumentPath, OpenMode::Read);
    if (!file) return false;
    const std::optional<std::uint64_t> size = file->size();
    // The index holds the whole file; one that grew past the text view's
    // limit since it was opened gets none, as a larger file would.
    if (!size || *size > TextViewLimit) {
        file->close();
        return false;
    }

    LineIndex& index = s.lines;
    try {
        // Pass 1: the file's bytes into the store, in big reads, counting the
        // line feeds of each chunk while it is still in the cache. Records
        // point into the store, so lines need no blocks of their own.
        Charge(memoryLimit, static_cast<std::size_t>(*size));
        index.Store.resize(static_cast<std::size_t>(*size));
        std::size_t stored = 0;
        std::uint64_t lineFeeds = 0;
        while (stored < index.Store.size()) {
            const std::size_t want = std::min(ReadChunk, index.Store.size() - stored);
            const std::size_t got = file->read(index.Store.data() + stored, want);
            if (got == 0 || got > want) break;  // end of file or read error: what was read stands
            lineFeeds += CountLineFeeds(index.Store.data() + stored, got);
            stored += got;
        }
        file->close();
        index.Store.resize(stored);

        // Pass 2: one record per line, in an array sized exactly once.
        const std::size_t lineCount = static_cast<std::size_t>(lineFeeds) + 1;
        Charge(memoryLimit, lineCount * sizeof(LineRecord));
        index.Lines.reserve(lineCount);
        SplitLines(index.Store, index.Lines);
        index.LineCount = static_cast<std::int32_t>(index.Lines.size());
    } catch (const std::bad_alloc&) {
        // Out of memory: no index rather than a damaged one; the program goes on.
        DiscardLineIndex(s);
        return false;
    }
    return true;
}

void DiscardLineIndex(EditorState& s) {
    LineIndex& index = s.lines;
    std::vector<LineRecord>().swap(index.Lines);
    std::vector<std::uint8_t>().swap(index.Store);
    index.LineCount = 0;
    index.TopLine = 0;
    index.LeftColumn = 0;
}

std::uint64_t LineStartOffset(const LineIndex& index, std::int32_t line) {
    const std::int32_t end = std::clamp(line, 0, index.LineCount);
    std::uint64_t offset = 0;
    for (std::int32_t i = 0; i < end; ++i) offset += index.Lines[static_cast<std::size_t>(i)].Length + 1ull;
    return offset;
}

std::int32_t LineHoldingOffset(const LineIndex& index, std::uint64_t offset) {
    std::uint64_t end = 0;
    for (std::int32_t i = 0; i < index.LineCount; ++i) {
        end += index.Lines[static_cast<std::size_t>(i)].Length + 1ull;
        if (end > offset) return i;
    }
    return index.LineCount > 0 ? index.LineCount - 1 : 0;
}

void LocateTopLine(EditorState& s) {
    const std::uint64_t top =
        static_cast<std::uint64_t>(s.pages.PageIndex) * PageSize + static_cast<std::uint64_t>(std::max(s.TopOffset, 0));
    s.lines.TopLine = LineHoldingOffset(s.lines, top);
    s.lines.LeftColumn = 0;
}

}  // namespace vop
