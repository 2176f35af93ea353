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

// One line as the text view shows it: where it starts, in the store and in
// the file, and the bytes it keeps of it (0..65536, without the line feed).
struct LineRecord {
    std::uint32_t Start;
    std::uint32_t Length;
};

// A mark on the way through the file: where a line starts. The index keeps
// one at line 0, at every 256th line, and at the first line that starts
// 64 KiB or more past the mark before it, so that from the mark before any
// line its start is found by passing fewer than 256 line feeds in at most
// 64 KiB. Eight bytes every 256 lines, where a record a line would take more
// than the file itself for short lines.
struct LineMark {
    std::uint32_t line;
    std::uint32_t start;
};

// Leaves new elements of a vector uninitialised when it grows. The line index
// writes every byte of its store from the file, so zeroing up to 75 MiB
// first would only cost time.
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

// The whole file, split at line feeds: a line a line feed, and one more. The
// lines are found in the store through the marks (document/line_index.h).
struct LineIndex {
    std::int32_t LineCount = 0;
    std::vector<LineMark> Marks;
    std::vector<std::uint8_t, UninitialisedAllocator<std::uint8_t>> Store;
    std::int32_t TopLine = 0;
    std::int32_t LeftColumn = 0;

    bool built() const { return !Marks.empty(); }
};

}  // namespace vop
