// Finding a byte sequence of up to 256 bytes in a block of memory, in time
// linear in the block's length whatever the bytes are, and at memory speed
// on ordinary data.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vop {

constexpr std::size_t MaxPatternLength = 256;

class SequenceMatcher {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // Copies the pattern; a length above MaxPatternLength is cut to it.
    SequenceMatcher(const std::uint8_t* pattern, std::size_t length);

    std::size_t length() const { return length_; }

    // The first position p, 0 <= p <= n - length, at which the block holds the
    // pattern (bytes compared unsigned), or npos. An empty pattern is found
    // at 0, also in an empty block.
    std::size_t find(const std::uint8_t* block, std::size_t n) const;

private:
    // What comparing the pattern with the block at `at` cost until they
    // differed (16 per 16-byte compare, or the bytes compared one by one), or
    // 0 when they agree throughout.
    std::size_t mismatchCost(const std::uint8_t* at) const;
    // Compares the whole pattern at the candidate start q, adding to `cost`;
    // true when the search ends there, with its answer in `result` (q, or
    // what the linear scan finds after q once the compares cost too much).
    bool settle(const std::uint8_t* block, std::size_t n, std::size_t q, std::size_t& cost, std::size_t& result) const;
    // The candidates from `from` on, found with memchr: the tail of the
    // 16-byte scan, and the whole scan where SSE2 is not there.
    std::size_t findScalar(const std::uint8_t* block, std::size_t n, std::size_t from, std::size_t& cost) const;
    // Knuth-Morris-Pratt from `from` on: each byte of the block is read once,
    // and the steps back along the pattern's borders are never more in all
    // than the bytes read.
    std::size_t findLinear(const std::uint8_t* block, std::size_t n, std::size_t from) const;

    std::size_t length_ = 0;
    std::array<std::uint8_t, MaxPatternLength> pattern_{};
    // The scan looks for the last byte together with the first byte that
    // differs from it, so that a pattern starting and ending with the same
    // byte (zeros around a marker) is not a candidate at every byte of a run.
    std::size_t filterOffset_ = 0;
    // border_[k]: the length of the longest proper prefix of the first k
    // pattern bytes that is also their suffix (k = 1 .. length - 1).
    std::array<std::uint8_t, MaxPatternLength> border_{};
};

}  // namespace vop
