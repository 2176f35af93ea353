// The text view's index of lines: the whole file split at line feeds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace vop {

constexpr std::uint32_t TextViewLimit = 78643200u;  // 75 MiB: larger files get no text view
constexpr std::uint32_t MaxLineLength = 65536;      // bytes kept of a longer line

// A line's bytes sit in one shared store that holds the whole file, so Start
// is also the line's offset in the file: the text view maps lines and file
// offsets exactly, whatever was cut from a long line.
struct LineRecord {
    std::uint32_t Start;   // offset of the line's first byte, in the store and in the file
    std::uint32_t Length;  // bytes kept, 0..65536, without the line feed
};

// Leaves new elements of a vector uninitialised when it grows. The line index
// writes every byte and record it allocates (from the file, then by the
// split), so zeroing 100 MiB or more first would only cost time.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <typename U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
    template <typename U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

struct LineIndex {
    std::int32_t LineCount = 0;
    std::vector<LineRecord, UninitialisedAllocator<LineRecord>> Lines;
    std::vector<std::uint8_t, UninitialisedAllocator<std::uint8_t>> Store;
    std::int32_t TopLine = 0;
    std::int32_t LeftColumn = 0;

    bool built() const { return !Lines.empty(); }
    const std::uint8_t* lineBytes(std::int32_t i) const {
        const LineRecord& r = Lines[static_cast<std::size_t>(i)];
        return r.Length ? Store.data() + r.Start : nullptr;
    }
};

}  // namespace vop
