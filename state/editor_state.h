// The program's state in one record. The shell holds exactly one; tests make
// a fresh one per case. Nothing in the core keeps state in statics.
#pragma once

#include <array>
#include <cstdint>

#include "state/file_system.h"
#include "state/glyphs.h"
#include "state/pages.h"
#include "state/screen_grid.h"
#include "state/settings.h"
#include "state/text_lines.h"
#include "state/ui.h"

namespace vop {

constexpr std::uint32_t NoPendingNibble = 0xFFFFFFFFu;

struct EditorState {
    // Services: the window system and the file layer. Never null; a fresh
    // state sees no windows and no files until it is given real ones.
    Ui* ui = nullptr;
    FileSystem* files = nullptr;

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
    // Whether the core has shown the data window's system caret (and not
    // hidden it since): hides and shows must pair up, or it vanishes for good.
    bool CaretShown = false;
    // The wheel's travel not yet turned into a row: a touchpad sends many
    // small steps where a wheel sends one notch of 120.
    std::int32_t WheelRemainder = 0;

    // Search globals
    std::array<std::uint8_t, 256> FindPattern{};
    std::int32_t FindPatternLength = 0;
    std::int32_t ReplacePatternLength = 0;
    std::uint8_t ReplaceAllRunning = 0;
    std::uint8_t ReplaceAllSaveAgreed = 0;
    std::uint8_t ReplaceAllDeclined = 0;

    // Operations of the editor in progress (app/operation.h), and what
    // other programs asked for meanwhile, carried out once they have ended.
    std::uint8_t OperationsRunning = 0;
    bool CloseAsked = false;
    bool ResizeAsked = false;

    EditorState();
    EditorState(const EditorState&) = delete;
    EditorState& operator=(const EditorState&) = delete;

    Ui& UI() { return *ui; }
    FileSystem& Files() { return *files; }

    bool documentOpen() const { return pages.CurrentPage.present(); }
    const PageBuffer* slot(PageSlot s) const;
    PageBuffer* slot(PageSlot s);
    std::uint32_t slotLength(PageSlot s) const;

private:
    NullUi nullUi_;
    NullFileSystem nullFiles_;
};

}  // namespace vop
