// The page window's types: three consecutive 64 KiB pages of the open file
// (previous, current, next), the only part of it held in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace vop {

constexpr std::uint32_t PageSize = 65536;
constexpr std::uint32_t MaxFileSize = 0x80000000u;  // 2 GiB, accepted exactly
// Page 32768 would start at 2 GiB, past the largest file accepted.
constexpr std::uint32_t PageCountLimit = MaxFileSize / PageSize;
// Longest path the program holds, in UTF-16 code units as Windows counts
// them (the path buffer holds 516 with its terminating zero). Longer paths
// are refused, never cut.
constexpr std::size_t MaxPathLength = 515;

// Computed in 64 bits: page 32767 plus a page is 2 GiB, which 32 bits hold,
// but a sum of a start and a length near the top would not.
inline std::uint64_t PageStart(std::uint32_t pageIndex) { return std::uint64_t{pageIndex} * PageSize; }

struct PageBuffer {
    std::unique_ptr<std::uint8_t[]> Bytes;  // 65536 bytes when present
    std::uint32_t Length = 0;               // valid bytes, 1..65536 when present
    // Edited since it was read or last written: a save writes only such
    // pages, so bytes the user never touched are never written over the file.
    bool Changed = false;

    bool present() const { return Bytes != nullptr; }
    void release() {
        Bytes.reset();
        Length = 0;
        Changed = false;
    }
};

struct PageWindow {
    std::string DocumentPath = "Vop";  // UTF-8
    std::uint32_t PageIndex = 0;
    std::uint32_t FileSize = 0;
    PageBuffer PrevPage;
    PageBuffer CurrentPage;
    PageBuffer NextPage;
};

// Which held page a view reference names. The length always comes from the
// slot itself, so it can never disagree with the page it describes.
enum class PageSlot : std::uint8_t { None, Current, Next };

}  // namespace vop
