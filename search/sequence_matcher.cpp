// The scan tests sixteen candidate positions at a time for two of the
// pattern's bytes (the last one, and the first that differs from it) and
// compares the whole pattern only where both are in place. On ordinary data
// that runs at memory speed; on data made of the pattern's own pieces (a run
// of zeros searched for zeros around a marker, a repeated unit with a slip in
// the middle) candidates come at every few bytes and each compare can run
// far, so the compares are costed as they go. The first time they cost more
// than a few times the bytes passed, the scan changes its second byte to the
// one where the last compare failed: a repeated unit with a slip holds the
// slip's byte at almost none of the candidates, and the scan runs at memory
// speed again. The second time, the rest of the block goes to
// Knuth-Morris-Pratt, which is linear whatever the bytes.
#include "search/sequence_matcher.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// The program is built for any x86-64; the scan takes AVX2's 32 starts to an
// instruction where the processor has it, chosen when it runs. In the Windows
// build only when every vector move is assembled unaligned: GCC there cannot
// keep the stack aligned to 32 bytes, and a 256-bit value spilled to it with
// an aligned move faults.
#if defined(__SSE2__) && defined(__GNUC__) && (!defined(_WIN32) || defined(VOP_UNALIGNED_VECTOR_MOVES))
#define VOP_MATCHER_AVX2 1
#include <immintrin.h>
#endif

namespace vop {

namespace {

// The compares may cost this much per byte passed, plus CostSlack pattern
// lengths (so that a few long near-misses early in a block pass), before the
// linear scan takes over. A 16-byte compare, costed 16, takes about as long
// as the linear scan spends on two bytes, while the filter passes 64 starts in
// that time: at this rate the compares alone take as long as the linear scan
// would, so past it the linear scan is no slower, and the total stays linear.
constexpr std::size_t CostPerByte = 8;
constexpr std::size_t CostSlack = 2;

template <class Word>
bool EqualWords(const std::uint8_t* a, const std::uint8_t* b) {
    Word x, y;
    std::memcpy(&x, a, sizeof x);
    std::memcpy(&y, b, sizeof y);
    return x == y;
}

#if defined(__SSE2__)
bool Equal16(const std::uint8_t* a, const std::uint8_t* b) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(x, y)) == 0xFFFF;
}

__m128i Broadcast(std::uint8_t byte) { return _mm_set1_epi8(static_cast<char>(byte)); }

// Lane i all ones when start p + i holds `first` at `firstOffset` and `last`
// at `lastOffset`.
__m128i Candidates(const std::uint8_t* at, std::size_t firstOffset, std::size_t lastOffset, __m128i first, __m128i last) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + firstOffset));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + lastOffset));
    return _mm_and_si128(_mm_cmpeq_epi8(x, first), _mm_cmpeq_epi8(y, last));
}

unsigned Lanes(__m128i v) { return static_cast<unsigned>(_mm_movemask_epi8(v)); }
#endif

#if defined(VOP_MATCHER_AVX2)
// As Candidates, for 32 starts.
[[gnu::target("avx2")]] __m256i Candidates32(const std::uint8_t* at, std::size_t firstOffset, std::size_t lastOffset,
                                             __m256i first, __m256i last) {
    const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + firstOffset));
    const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + lastOffset));
    return _mm256_and_si256(_mm256_cmpeq_epi8(x, first), _mm256_cmpeq_epi8(y, last));
}

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
#endif

}  // namespace

SequenceMatcher::SequenceMatcher(const std::uint8_t* pattern, std::size_t length)
    : length_(std::min(length, MaxPatternLength)) {
    if (length_ == 0) return;
    std::memcpy(pattern_.data(), pattern, length_);

    const std::uint8_t lastByte = pattern_[length_ - 1];
    while (filterOffset_ + 1 < length_ && pattern_[filterOffset_] == lastByte) ++filterOffset_;
    if (filterOffset_ + 1 == length_) filterOffset_ = 0;  // one byte throughout

    std::size_t k = 0;  // border of the prefix read so far
    for (std::size_t i = 1; i + 1 < length_; ++i) {
        while (k > 0 && pattern_[i] != pattern_[k]) k = border_[k];
        if (pattern_[i] == pattern_[k]) ++k;
        border_[i + 1] = static_cast<std::uint8_t>(k);  // k <= i < 256
    }
}

// Inlined into the scan: a page dense with occurrences compares at every one.
[[gnu::always_inline]] inline std::size_t SequenceMatcher::mismatchCost(const std::uint8_t* at) const {
#if defined(__SSE2__)
    if (length_ >= 16) {
        std::size_t k = 0;
        for (; k + 16 <= length_; k += 16)
            if (!Equal16(at + k, pattern_.data() + k)) return k + 16;
        // The last piece, overlapping the one before.
        if (k < length_ && !Equal16(at + length_ - 16, pattern_.data() + length_ - 16)) return k + 16;
        return 0;
    }
#endif
    // From 4 to 16 bytes, two words that overlap (any length from w to 2w
    // covers every byte), costed as the whole pattern; longer ones byte by byte.
    const std::uint8_t* p = pattern_.data();
    const std::size_t n = length_;
    if (n >= 8 && n <= 16)
        return EqualWords<std::uint64_t>(at, p) && EqualWords<std::uint64_t>(at + n - 8, p + n - 8) ? 0 : n;
    if (n >= 4 && n < 8)
        return EqualWords<std::uint32_t>(at, p) && EqualWords<std::uint32_t>(at + n - 4, p + n - 4) ? 0 : n;
    for (std::size_t k = 0; k < length_; ++k)
        if (at[k] != pattern_[k]) return k + 1;
    return 0;
}

struct SequenceMatcher::Pass {
    const std::uint8_t* block;
    std::size_t n;
    std::size_t* hits;
    std::size_t capacity;
    std::size_t filter;       // the offset of the second byte the scan tests
    std::size_t count = 0;
    std::size_t cost = 0;     // what the compares that failed have cost since `base`
    std::size_t base = 0;     // where the costing started
    std::size_t next = 0;     // the first start after the last occurrence found
    std::size_t resume = npos;  // set when the filter changed: the scan starts again here
    bool refiltered = false;
    bool done = false;        // the hits are full, or the block is searched to its end

    bool halted() const { return done || resume != npos; }

    void found(std::size_t q, std::size_t length) {
        hits[count++] = q;
        next = q + length;
        done = count == capacity;
    }
};

[[gnu::always_inline]] inline bool SequenceMatcher::settle(Pass& pass, std::size_t q) const {
    const std::size_t c = mismatchCost(pass.block + q);
    if (c == 0) {
        pass.found(q, length_);
        return true;
    }
    pass.cost += c;
    if (pass.cost <= CostPerByte * (q - pass.base) + CostSlack * length_) return false;
    if (!pass.refiltered) {
        std::size_t differs = 0;
        while (pass.block[q + differs] == pattern_[differs]) ++differs;
        pass.refiltered = true;
        pass.filter = differs;
        pass.cost = 0;
        pass.base = q + 1;
        pass.resume = q + 1;
        return true;
    }
    findLinear(pass, q + 1);
    return true;
}

void SequenceMatcher::findScalar(Pass& pass, std::size_t from) const {
    const std::uint8_t* block = pass.block;
    const std::size_t lastOffset = length_ - 1;
    const std::size_t lastStart = pass.n - length_;
    for (std::size_t p = from; !pass.halted() && p <= lastStart;) {
        const void* hit = std::memchr(block + p + lastOffset, pattern_[lastOffset], lastStart - p + 1);
        if (hit == nullptr) return;
        const std::size_t q = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - block) - lastOffset;
        const bool moved = block[q + pass.filter] == pattern_[pass.filter] && settle(pass, q);
        p = moved ? pass.next : q + 1;
    }
}

void SequenceMatcher::findLinear(Pass& pass, std::size_t from) const {
    std::size_t matched = 0;  // pattern bytes matched, ending at the byte before i
    for (std::size_t i = from; i < pass.n && !pass.done; ++i) {
        const std::uint8_t byte = pass.block[i];
        while (matched > 0 && pattern_[matched] != byte) matched = border_[matched];
        if (pattern_[matched] == byte && ++matched == length_) {
            pass.found(i + 1 - length_, length_);
            matched = 0;  // the next occurrence starts after this one
        }
    }
    pass.done = true;
}

[[gnu::always_inline]] inline void SequenceMatcher::settleBits(Pass& pass, std::size_t base, std::uint64_t bits) const {
    for (; bits != 0 && !pass.halted(); bits &= bits - 1) {
        const std::size_t q = base + static_cast<std::size_t>(__builtin_ctzll(bits));
        if (q >= pass.next) settle(pass, q);
    }
}

#if defined(VOP_MATCHER_AVX2)
[[gnu::target("avx2")]] std::size_t SequenceMatcher::scanAvx2(Pass& pass, std::size_t from) const {
    const std::size_t lastOffset = length_ - 1;
    const __m256i first = _mm256_set1_epi8(static_cast<char>(pattern_[pass.filter]));
    const __m256i last = _mm256_set1_epi8(static_cast<char>(pattern_[lastOffset]));
    // Held in registers: the pass is written only where a step has
    // candidates, and reading it back at every step costs a fifth of the scan.
    const std::uint8_t* const block = pass.block;
    const std::size_t filterOffset = pass.filter;
    const std::size_t lastStart = pass.n - length_;
    std::size_t p = from;
    for (; p + 63 <= lastStart; p += 64) {
        const __m256i low = Candidates32(block + p, filterOffset, lastOffset, first, last);
        const __m256i high = Candidates32(block + p + 32, filterOffset, lastOffset, first, last);
        if (_mm256_testz_si256(_mm256_or_si256(low, high), _mm256_or_si256(low, high))) continue;
        settleBits(pass, p,
                   std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(low))} |
                       std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(high))} << 32);
        if (pass.halted()) return p + 64;
    }
    return p;
}
#endif

std::size_t SequenceMatcher::find(const std::uint8_t* block, std::size_t n) const {
    if (length_ == 0) return 0;
    if (length_ == 1 && n > 0) {
        const void* hit = std::memchr(block, pattern_[0], n);
        return hit ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - block) : npos;
    }
    std::size_t at = npos;
    findAll(block, n, &at, 1);
    return at;
}

std::size_t SequenceMatcher::findAll(const std::uint8_t* block, std::size_t n, std::size_t* hits,
                                     std::size_t capacity) const {
    if (length_ == 0 || length_ > n || capacity == 0) return 0;
    Pass pass{block, n, hits, capacity, filterOffset_};
    for (std::size_t from = 0;;) {
        scan(pass, from);
        if (pass.resume == npos) return pass.count;
        from = pass.resume;
        pass.resume = npos;
    }
}

void SequenceMatcher::scan(Pass& pass, std::size_t from) const {
    const std::uint8_t* block = pass.block;
    std::size_t p = from;
#if defined(__SSE2__)
    // The starts p .. p + k - 1 read up to byte p + k - 1 + length - 1, which
    // must lie in the block; the starts after the last full step of 16 go to
    // the scalar scan. Steps of 64 starts test one combined mask, since on
    // ordinary data there is nothing in almost all of them; a step with
    // candidates walks their bits in order, passing over those inside an
    // occurrence just found, so that dense occurrences cost no rescans.
    const std::size_t lastStart = pass.n - length_;
    const std::size_t lastOffset = length_ - 1;
    const std::size_t filter = pass.filter;
    const __m128i first = Broadcast(pattern_[filter]);
    const __m128i last = Broadcast(pattern_[lastOffset]);
#if defined(VOP_MATCHER_AVX2)
    if (HasAvx2()) p = scanAvx2(pass, p);
#endif
    for (; !pass.halted() && p + 63 <= lastStart; p += 64) {
        const __m128i c[4] = {Candidates(block + p, filter, lastOffset, first, last),
                              Candidates(block + p + 16, filter, lastOffset, first, last),
                              Candidates(block + p + 32, filter, lastOffset, first, last),
                              Candidates(block + p + 48, filter, lastOffset, first, last)};
        if (Lanes(_mm_or_si128(_mm_or_si128(c[0], c[1]), _mm_or_si128(c[2], c[3]))) == 0) continue;
        settleBits(pass, p,
                   std::uint64_t{Lanes(c[0])} | std::uint64_t{Lanes(c[1])} << 16 | std::uint64_t{Lanes(c[2])} << 32 |
                       std::uint64_t{Lanes(c[3])} << 48);
    }
    for (; !pass.halted() && p + 15 <= lastStart; p += 16)
        settleBits(pass, p, Lanes(Candidates(block + p, filter, lastOffset, first, last)));
    p = std::max(p, pass.next);
#endif
    if (!pass.halted()) findScalar(pass, p);
}

}  // namespace vop
