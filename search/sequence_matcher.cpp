// The scan tests sixteen candidate positions at a time for two of the
// pattern's bytes (the last one, and the first that differs from it) and
// compares the whole pattern only where both are in place. On ordinary data
// that runs at memory speed; on data made of the pattern's own pieces (a run
// of zeros searched for zeros around a marker, a repeated unit with a slip in
// the middle) candidates come at every few bytes and each compare can run
// far, so the compares are costed as they go: once they cost more than a few
// times the bytes passed, the rest of the block goes to Knuth-Morris-Pratt,
// which is linear whatever the bytes.
#include "search/sequence_matcher.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
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

std::size_t SequenceMatcher::mismatchCost(const std::uint8_t* at) const {
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
    for (std::size_t k = 0; k < length_; ++k)
        if (at[k] != pattern_[k]) return k + 1;
    return 0;
}

bool SequenceMatcher::settle(const std::uint8_t* block, std::size_t n, std::size_t q, std::size_t& cost,
                             std::size_t& result) const {
    const std::size_t c = mismatchCost(block + q);
    if (c == 0) {
        result = q;
        return true;
    }
    cost += c;
    if (cost <= CostPerByte * q + CostSlack * length_) return false;
    result = findLinear(block, n, q + 1);
    return true;
}

std::size_t SequenceMatcher::findScalar(const std::uint8_t* block, std::size_t n, std::size_t from,
                                        std::size_t& cost) const {
    const std::size_t lastOffset = length_ - 1;
    const std::size_t lastStart = n - length_;
    std::size_t result = npos;
    for (std::size_t p = from; p <= lastStart;) {
        const void* hit = std::memchr(block + p + lastOffset, pattern_[lastOffset], lastStart - p + 1);
        if (hit == nullptr) return npos;
        const std::size_t q = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - block) - lastOffset;
        if (block[q + filterOffset_] == pattern_[filterOffset_] && settle(block, n, q, cost, result)) return result;
        p = q + 1;
    }
    return npos;
}

std::size_t SequenceMatcher::findLinear(const std::uint8_t* block, std::size_t n, std::size_t from) const {
    std::size_t matched = 0;  // pattern bytes matched, ending at the byte before i
    for (std::size_t i = from; i < n; ++i) {
        const std::uint8_t byte = block[i];
        while (matched > 0 && pattern_[matched] != byte) matched = border_[matched];
        if (pattern_[matched] == byte && ++matched == length_) return i + 1 - length_;
    }
    return npos;
}

std::size_t SequenceMatcher::find(const std::uint8_t* block, std::size_t n) const {
    if (length_ == 0) return 0;
    if (length_ > n) return npos;
    if (length_ == 1) {
        const void* hit = std::memchr(block, pattern_[0], n);
        return hit ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - block) : npos;
    }
    std::size_t cost = 0;
    std::size_t p = 0;
#if defined(__SSE2__)
    // The starts p .. p + k - 1 read up to byte p + k - 1 + length - 1, which
    // must lie in the block; the starts after the last full step of 16 go to
    // the scalar scan. Steps of 64 starts test one combined mask, since on
    // ordinary data there is nothing in almost all of them.
    const std::size_t lastStart = n - length_;
    const std::size_t lastOffset = length_ - 1;
    const __m128i first = Broadcast(pattern_[filterOffset_]);
    const __m128i last = Broadcast(pattern_[lastOffset]);
    std::size_t result = npos;
    auto settleLanes = [&](std::size_t base, unsigned lanes) {
        for (; lanes != 0; lanes &= lanes - 1)
            if (settle(block, n, base + static_cast<std::size_t>(__builtin_ctz(lanes)), cost, result)) return true;
        return false;
    };
    for (; p + 63 <= lastStart; p += 64) {
        const __m128i c[4] = {Candidates(block + p, filterOffset_, lastOffset, first, last),
                              Candidates(block + p + 16, filterOffset_, lastOffset, first, last),
                              Candidates(block + p + 32, filterOffset_, lastOffset, first, last),
                              Candidates(block + p + 48, filterOffset_, lastOffset, first, last)};
        if (Lanes(_mm_or_si128(_mm_or_si128(c[0], c[1]), _mm_or_si128(c[2], c[3]))) == 0) continue;
        for (std::size_t k = 0; k < 4; ++k)
            if (settleLanes(p + 16 * k, Lanes(c[k]))) return result;
    }
    for (; p + 15 <= lastStart; p += 16)
        if (settleLanes(p, Lanes(Candidates(block + p, filterOffset_, lastOffset, first, last)))) return result;
#endif
    return findScalar(block, n, p, cost);
}

}  // namespace vop
