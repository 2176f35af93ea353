// The program's state in one record. The shell holds exactly one; tests make
// a fresh one per case. Nothing in the core keeps state in statics.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/glyph_strips.h"
#include "app/ui.h"
#include "document/file_io.h"

namespace vop {

constexpr std::uint32_t PageSize = 65536;
constexpr std::uint32_t MaxFileSize = 0x80000000u;  // 2 GiB, accepted exactly
constexpr std::uint32_t TextViewLimit = 78643200u;  // 75 MiB
constexpr int AddressCells = 10;
constexpr std::uint32_t NoPendingNibble = 0xFFFFFFFFu;

// ---- Settings (saved in "Vop.cfg") ----
struct Settings {
    std::uint8_t FontType = 0;   // 0 Ascii, 1 Hex
    std::uint8_t FontCell = 0;   // 0 Normal (8 px), 1 Double (16), 2 Quad (32)
    std::uint8_t BlockCaret = 0; // 1 block, 0 underline
    std::uint32_t ForegroundColor = 0x000000;  // 0x00BBGGRR
    std::uint32_t BackgroundColor = 0xFFFFFF;
};

// ---- Glyph tables, filled once from the six font files ----
struct GlyphTables {
    std::array<std::uint8_t, 4096> font8x16{};
    std::array<std::uint8_t, 16384> font16x32{};
    std::array<std::uint8_t, 65536> font32x64{};
    std::array<std::uint8_t, 128> digits8x8{};
    std::array<std::uint8_t, 512> digits16x16{};
    std::array<std::uint8_t, 2048> digits32x32{};
};

// ---- Paged file window ----
struct PageBuffer {
    std::unique_ptr<std::uint8_t[]> Bytes;  // 65536 bytes when present
    std::uint32_t Length = 0;               // valid bytes, 1..65536 when present

    bool present() const { return Bytes != nullptr; }
    void release() { Bytes.reset(); Length = 0; }
};

struct PageWindow {
    std::string DocumentPath = "Vop";
    std::uint32_t PageIndex = 0;
    std::uint32_t FileSize = 0;
    PageBuffer PrevPage;
    PageBuffer CurrentPage;
    PageBuffer NextPage;
};

// Which held page a view reference names. The length always comes from the
// slot itself, so it can never disagree with the page it describes.
enum class PageSlot : std::uint8_t { None, Current, Next };

// ---- Screen grid: the text of the visible hex-view screen ----
struct ScreenGrid {
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    std::int32_t filledCells = 0;
    std::int32_t caretColumn = 0;
    std::int32_t caretRow = 0;
    std::vector<std::uint8_t> cells;  // rows × columns, row-major

    void init(std::int32_t newColumns, std::int32_t newRows);
    void clear();
    bool empty() const { return cells.empty(); }
    std::uint8_t& at(std::int32_t row, std::int32_t column) {
        return cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(column)];
    }
    std::uint8_t at(std::int32_t row, std::int32_t column) const {
        return cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(column)];
    }
};

// ---- Text line index ----
// Lines are kept in one shared byte store with an offset per line, so a file
// of short lines costs a few bytes per line instead of one heap block each.
struct LineRecord {
    std::uint32_t Start;   // offset of the line's bytes in LineIndex::Store
    std::uint32_t Length;  // 0..65536, without the line feed
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

// ---- The whole program state ----
struct EditorState {
    // Services: the window system and the file layer. Never null.
    Ui* ui = nullptr;
    FileSystem* files = &realFileSystem();

    Settings settings;
    GlyphTables glyphs;
    GlyphStrips strips;  // the coloured glyphs of the current FontCell

    PageWindow pages;
    std::uint8_t Modified = 0;

    // View position
    PageSlot ScreenPage = PageSlot::None;
    PageSlot CaretPage = PageSlot::None;
    std::int32_t TopOffset = 0;
    std::int32_t CaretOffset = 0;
    std::int32_t CaretX = 0;
    std::int32_t CaretY = 0;
    ScreenGrid grid;

    LineIndex lines;

    // View flags of the data window
    std::uint8_t TextViewOn = 0;
    std::uint32_t PendingNibbleAddress = NoPendingNibble;

    // Search globals
    std::array<std::uint8_t, 256> FindPattern{};
    std::int32_t FindPatternLength = 0;
    std::int32_t ReplacePatternLength = 0;
    std::uint8_t ReplaceAllRunning = 0;
    std::uint8_t ReplaceAllSaveAgreed = 0;
    std::uint8_t ReplaceAllDeclined = 0;

    EditorState();
    Ui& UI() { return *ui; }
    FileSystem& Files() { return *files; }

    bool documentOpen() const { return pages.CurrentPage.present(); }
    const PageBuffer* slot(PageSlot s) const;
    PageBuffer* slot(PageSlot s);
    std::uint32_t slotLength(PageSlot s) const;

private:
    NullUi nullUi_;
};

}  // namespace vop
