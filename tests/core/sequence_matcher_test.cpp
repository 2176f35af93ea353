// The sequence matcher against the plain rule (the first p at which the block
// holds the pattern) on blocks that make a fast matcher work hard: few symbols,
// repeated units with slips, patterns that nearly match at every step.
#include "search/sequence_matcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

namespace vop {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::size_t PlainFind(const Bytes& block, const Bytes& pattern) {
    for (std::size_t p = 0; p + pattern.size() <= block.size(); ++p)
        if (pattern.empty() || std::memcmp(block.data() + p, pattern.data(), pattern.size()) == 0) return p;
    return SequenceMatcher::npos;
}

TEST(SequenceMatcherTest, FindsWhatThePlainRuleFinds) {
    const Bytes alphabets[] = {{0x00, 0x01}, {0x61, 0x62, 0x63}, {0x80, 0xFF}, {0x00, 0xFE, 0x7F}};
    // Blocks of random symbols, of a repeated unit with slips, or half and half
    // (in the large ones the compares turn costly half way).
    struct { std::size_t minSize, maxSize, randomQuarters; int cases; } const shapes[] = {
        {0, 300, 4, 3000}, {0, 300, 0, 3000}, {0, 300, 2, 2000}, {100 << 10, 100 << 10, 2, 150}, {100 << 10, 100 << 10, 0, 50}};
    std::mt19937 rng(20261206);
    auto below = [&](std::size_t n) { return n ? std::size_t(rng() % n) : 0; };
    for (const auto& shape : shapes) {
        for (int i = 0; i < shape.cases; ++i) {
            const Bytes& symbols = alphabets[below(4)];
            auto symbol = [&] { return symbols[below(symbols.size())]; };
            const std::size_t size = shape.minSize + below(shape.maxSize - shape.minSize + 1);
            Bytes unit(1 + below(5)), block(size);
            for (auto& b : unit) b = symbol();
            for (std::size_t k = 0; k < size; ++k)
                block[k] = k < size * shape.randomQuarters / 4 || below(1000) == 0 ? symbol() : unit[k % unit.size()];
            // Random symbols or a window of the block (often near its end, often
            // with a byte slipped); now and then planted further on or at the end.
            const std::size_t m = below(below(3) ? 257 : 17);
            Bytes pattern(m);
            for (auto& b : pattern) b = symbol();
            if (m <= size && below(4)) {
                const std::size_t from = size - m - below(below(2) ? size - m + 1 : (size - m) / 4 + 1);
                std::copy_n(block.begin() + std::ptrdiff_t(from), m, pattern.begin());
                if (m && below(2)) pattern[m - 1 - below(below(2) ? m : m / 8 + 1)] ^= std::uint8_t(below(2) ? 0x01 : 0xFF);
            }
            if (m <= size && below(3) == 0)
                std::copy(pattern.begin(), pattern.end(), block.end() - std::ptrdiff_t(m + (below(2) ? 0 : below((size - m) / 2 + 1))));
            ASSERT_EQ(SequenceMatcher(pattern.data(), m).find(block.data(), size), PlainFind(block, pattern))
                << "shape " << (&shape - shapes) << " case " << i << ", block " << size << ", pattern " << m;
        }
    }
}

// k zeros, the pattern (zeros, a 1 at c, 0xEE at the last k + 1), 0 or 16 bytes
// more: each of the first k starts nearly holds the pattern, the next one does.
TEST(SequenceMatcherTest, FindsThePatternRightAfterCostlyNearMisses) {
    for (std::size_t c = 16; c < 240; c += 7) for (std::size_t k = 0; k < 48; ++k) {
        Bytes pattern(256, 0x00), block(k, 0x00);
        pattern[c] = 0x01;
        std::fill(pattern.end() - std::ptrdiff_t(k + 1), pattern.end(), 0xEE);
        block.insert(block.end(), pattern.begin(), pattern.end());
        block.resize(block.size() + k % 2 * 16, 0xEE);
        ASSERT_EQ(SequenceMatcher(pattern.data(), 256).find(block.data(), block.size()), k) << c << " " << k;
    }
}

}  // namespace
}  // namespace vop
