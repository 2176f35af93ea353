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

    // The occurrences find would report if called again after each one, from
    // just past its end (so they never overlap), in one pass over the block:
    // their positions go to `hits`, at most `capacity` of them, and their
    // number is returned. A replace-all run meets an occurrence every few
    // bytes and must not pay the scan's setup for each. An empty pattern has
    // none.
    std::size_t findAll(const std::uint8_t* block, std::size_t n, std::size_t* hits, std::size_t capacity) const;

private:
    // One pass of findAll: where it stands, and what it found.
    struct Pass;

    // What comparing the pattern with the block at `at` cost until they
    // differed (16 per 16-byte compare, the length for a pattern of 4 to 15
    // bytes compared as two words, else the bytes compared one by one), or 0
    // when they agree throughout.
    std::size_t mismatchCost(const std::uint8_t* at) const;
    // Compares the whole pattern at the candidate start q, adding to the
    // pass's cost; true when the scan does not go on from the next candidate:
    // q held the pattern (the scan goes on after it), or the compares cost too
    // much, and either the scan starts again after q testing the byte where
    // this compare failed, or the linear scan has taken the rest of the block.
    bool settle(Pass& pass, std::size_t q) const;
    // Settles the candidate starts base + i for each bit i set, in order,
    // passing over those inside an occurrence just found.
    void settleBits(Pass& pass, std::size_t base, std::uint64_t bits) const;
    // The candidates from `from` on, tested for the last byte and the one at
    // the pass's filter offset, until the block ends, the hits are full, or
    // the filter changes.
    void scan(Pass& pass, std::size_t from) const;
    // scan's steps of 64 starts with AVX2, on x86-64 processors that have
    // it (built with GCC or clang); returns where they stopped.
    std::size_t scanAvx2(Pass& pass, std::size_t from) const;
    // The candidates from `from` on, found with memchr: the tail of the
    // 16-byte scan, and the whole scan where SSE2 is not there.
    void findScalar(Pass& pass, std::size_t from) const;
    // Knuth-Morris-Pratt from `from` to the block's end: each byte of the
    // block is read once, and the steps back along the pattern's borders are
    // never more in all than the bytes read.
    void findLinear(Pass& pass, std::size_t from) const;

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
