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

// Places the marks of one chunk of the store while it is in the cache: a
// mark at every 256th line and at the first line that starts 64 KiB or more
// past the mark before it. Line feeds are counted sixteen at a time; only a
// block that may hold a mark is walked line feed by line feed.
class Marker {
public:
    explicit Marker(std::vector<LineMark>& marks) : marks_(marks) { marks_.push_back({0, 0}); }

    void chunk(const std::uint8_t* p, std::uint32_t at, std::size_t count) {
        std::size_t i = 0;
        for (; i + Block <= count; i += Block) {
            const std::uint32_t bits = LineFeedBits(p + i);
            const std::uint32_t n = static_cast<std::uint32_t>(__builtin_popcount(bits));
            const std::uint32_t offset = at + static_cast<std::uint32_t>(i);
            if ((lines_ & 255u) + n > 256 || (n > 0 && (lines_ & 255u) == 0) || offset + Block - last() >= Far)
                walk(bits, offset);
            else
                lines_ += n;
        }
        for (; i < count; ++i)
            if (p[i] == LineFeed) walk(1, at + static_cast<std::uint32_t>(i));
    }
    std::uint32_t lines() const { return lines_; }

private:
    static constexpr std::uint32_t Far = 65536;

    std::uint32_t last() const { return marks_.back().start; }
    void walk(std::uint32_t bits, std::uint32_t offset) {
        for (; bits != 0; bits &= bits - 1) {
            const std::uint32_t start = offset + static_cast<std::uint32_t>(__builtin_ctz(bits)) + 1;
            if (lines_ % 256 == 0 || start - last() >= Far) marks_.push_back({lines_, start});
            ++lines_;
        }
    }

    std::vector<LineMark>& marks_;
    std::uint32_t lines_ = 1;  // lines started so far: line 0 at the file's start
};

// The start of `line` (0 <= line < LineCount): from the mark before it, past
// as many line feeds, fewer than 256 in at most 64 KiB.
std::uint32_t StartOf(const LineIndex& index, std::int32_t line) {
    const auto after = std::upper_bound(index.Marks.begin(), index.Marks.end(), static_cast<std::uint32_t>(line),
                                        [](std::uint32_t l, const LineMark& m) { return l < m.line; });
    const std::uint8_t* p = index.Store.data();
    std::uint32_t at = (after - 1)->start;
    for (std::uint32_t k = (after - 1)->line; k < static_cast<std::uint32_t>(line); ++k)
        at = static_cast<std::uint32_t>(static_cast<const std::uint8_t*>(std::memchr(p + at, LineFeed, index.Store.size() - at)) - p) + 1;
    return at;
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
        // One pass: the file's bytes into the store, in big reads, and the
        // marks of each chunk while it is still in the cache. The lines are
        // found through the marks when they are shown, so none needs a record.
        Charge(memoryLimit, static_cast<std::size_t>(*size));
        index.Store.resize(static_cast<std::size_t>(*size));
        Marker marker(index.Marks);
        std::size_t stored = 0;
        while (stored < index.Store.size()) {
            const std::size_t want = std::min(ReadChunk, index.Store.size() - stored);
            const std::size_t got = file->read(index.Store.data() + stored, want);
            if (got == 0 || got > want) break;  // end of file or read error: what was read stands
            marker.chunk(index.Store.data() + stored, static_cast<std::uint32_t>(stored), got);
            stored += got;
        }
        file->close();
        index.Store.resize(stored);
        Charge(memoryLimit, index.Marks.capacity() * sizeof(LineMark));
        index.LineCount = static_cast<std::int32_t>(marker.lines());
    } catch (const std::bad_alloc&) {
        // Out of memory: no index rather than a damaged one; the program goes on.
        DiscardLineIndex(s);
        return false;
    }
    return true;
}

void DiscardLineIndex(EditorState& s) {
    LineIndex& index = s.lines;
    std::vector<LineMark>().swap(index.Marks);
    decltype(index.Store)().swap(index.Store);
    index.LineCount = 0;
    index.TopLine = 0;
    index.LeftColumn = 0;
}

LineRecord IndexedLine(const LineIndex& index, std::int32_t line) {
    if (index.LineCount <= 0) return {0, 0};
    const std::uint32_t start = StartOf(index, std::clamp(line, 0, index.LineCount - 1));
    const std::size_t room = std::min<std::size_t>(index.Store.size() - start, MaxLineLength);
    const void* feed = room > 0 ? std::memchr(index.Store.data() + start, LineFeed, room) : nullptr;
    const std::size_t length = feed ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(feed) - (index.Store.data() + start)) : room;
    return {start, static_cast<std::uint32_t>(length)};
}

std::uint64_t LineStartOffset(const LineIndex& index, std::int32_t line) { return IndexedLine(index, line).Start; }

std::int32_t LineHoldingOffset(const LineIndex& index, std::uint64_t offset) {
    if (index.LineCount <= 0) return 0;
    // The last mark at or before the offset, then the line feeds from there
    // to it: a line's own feed belongs to it.
    const auto after = std::upper_bound(index.Marks.begin(), index.Marks.end(), offset,
                                        [](std::uint64_t o, const LineMark& m) { return o < m.start; });
    const std::size_t to = static_cast<std::size_t>(std::min<std::uint64_t>(offset, index.Store.size()));
    const std::uint64_t line = (after - 1)->line + CountLineFeeds(index.Store.data() + (after - 1)->start, to - (after - 1)->start);
    return static_cast<std::int32_t>(std::min<std::uint64_t>(line, static_cast<std::uint64_t>(index.LineCount) - 1));
}

void LocateTopLine(EditorState& s) {
    const std::uint64_t top =
        static_cast<std::uint64_t>(s.pages.PageIndex) * PageSize + static_cast<std::uint64_t>(std::max(s.TopOffset, 0));
    s.lines.TopLine = LineHoldingOffset(s.lines, top);
    s.lines.LeftColumn = 0;
}

}  // namespace vop
