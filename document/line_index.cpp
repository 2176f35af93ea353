#include "document/line_index.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vop {
namespace {

constexpr std::size_t ReadChunk = 1u << 20;
constexpr std::uint8_t LineFeed = 0x0A;

// Line feeds are found sixteen bytes at a time; the index of a 75 MiB file of
// short lines is built in about the time it takes to read the file.
constexpr std::uint32_t Block = 16;

// Bit k is set when byte k of the sixteen at p is a line feed.
inline std::uint32_t LineFeedBits(const std::uint8_t* p) {
#if defined(__SSE2__)
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(LineFeed))));
#else
    std::uint32_t bits = 0;
    for (std::uint32_t k = 0; k < Block; ++k) bits |= static_cast<std::uint32_t>(p[k] == LineFeed) << k;
    return bits;
#endif
}

std::uint64_t CountLineFeeds(const std::uint8_t* p, std::size_t count) {
    std::uint64_t total = 0;
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i lineFeeds = _mm_set1_epi8(LineFeed);
    const __m128i zero = _mm_setzero_si128();
    while (i + Block <= count) {
        // Sixteen byte-wide counters, summed before any of them can pass 255.
        __m128i counters = zero;
        const std::size_t stop = std::min(count, i + 255 * Block);
        for (; i + Block <= stop; i += Block) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            counters = _mm_sub_epi8(counters, _mm_cmpeq_epi8(block, lineFeeds));
        }
        const __m128i sums = _mm_sad_epu8(counters, zero);  // two sums of eight counters
        total += static_cast<std::uint32_t>(_mm_cvtsi128_si32(sums)) +
                 static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    }
#endif
    for (; i < count; ++i) total += p[i] == LineFeed;
    return total;
}

// Records every line of `bytes` into `lines`, which has room for exactly one
// record per line feed plus one: split at line feeds only (a carriage return
// stays in its line), each line capped at MaxLineLength bytes with the rest of
// it dropped, and an empty last line after a final line feed. This is exactly
// what reading the file byte by byte to each line feed gives. Returns the
// number of records written, never more than the room there is.
std::size_t SplitLines(const decltype(LineIndex::Store)& bytes, decltype(LineIndex::Lines)& lines) {
    const std::uint8_t* p = bytes.data();
    const std::uint32_t size = static_cast<std::uint32_t>(bytes.size());  // at most TextViewLimit
    LineRecord* out = lines.data();
    LineRecord* const end = out + lines.size();
    std::uint32_t lineStart = 0;
    auto endLine = [&](std::uint32_t lineEnd) {
        if (out == end) return false;
        const std::uint32_t length = lineEnd - lineStart;
        *out++ = {lineStart, length < MaxLineLength ? length : MaxLineLength};
        lineStart = lineEnd + 1;
        return true;
    };
    std::uint32_t i = 0;
    for (; i + Block <= size; i += Block) {
        for (std::uint32_t m = LineFeedBits(p + i); m != 0; m &= m - 1)
            if (!endLine(i + static_cast<std::uint32_t>(__builtin_ctz(m)))) return lines.size();
    }
    for (; i < size; ++i)
        if (p[i] == LineFeed && !endLine(i)) return lines.size();
    endLine(size);
    return static_cast<std::size_t>(out - lines.data());
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
        index.Lines.resize(lineCount);
        index.Lines.resize(SplitLines(index.Store, index.Lines));
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
    decltype(index.Lines)().swap(index.Lines);
    decltype(index.Store)().swap(index.Store);
    index.LineCount = 0;
    index.TopLine = 0;
    index.LeftColumn = 0;
}

std::uint64_t LineStartOffset(const LineIndex& index, std::int32_t line) {
    if (index.LineCount <= 0) return 0;
    return index.Lines[static_cast<std::size_t>(std::clamp(line, 0, index.LineCount - 1))].Start;
}

std::int32_t LineHoldingOffset(const LineIndex& index, std::uint64_t offset) {
    if (index.LineCount <= 0) return 0;
    const auto begin = index.Lines.begin(), end = begin + index.LineCount;
    // The last line that starts at or before the offset; line 0 starts at 0.
    const auto after = std::upper_bound(begin + 1, end, offset,
                                        [](std::uint64_t o, const LineRecord& r) { return o < r.Start; });
    return static_cast<std::int32_t>(after - begin - 1);
}

void LocateTopLine(EditorState& s) {
    const std::uint64_t top =
        static_cast<std::uint64_t>(s.pages.PageIndex) * PageSize + static_cast<std::uint64_t>(std::max(s.TopOffset, 0));
    s.lines.TopLine = LineHoldingOffset(s.lines, top);
    s.lines.LeftColumn = 0;
}

}  // namespace vop
