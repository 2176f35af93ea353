#include "view/data_window_input.h"

#include <gtest/gtest.h>

#include <fstream>

#include "dialogs/goto_address.h"
#include "document/page_window.h"
#include "support/fake_ui.h"
#include "support/temp_files.h"
#include "view/caret_navigation.h"
#include "view/screen_layout.h"

namespace vop {
namespace {

using test::FakeUi;
using test::PatternBytes;
using test::TempDir;

struct Window {
    TempDir dir;
    FakeUi ui;
    EditorState s;
    std::vector<std::uint8_t> bytes;
    std::string path;
    explicit Window(std::vector<std::uint8_t> content, ClientSize client = {300, 160}) : bytes(std::move(content)) {
        ui.client = client;  // 16 per row, 10 rows
        s.ui = &ui;
        path = dir.write("w.bin", bytes);
        EXPECT_TRUE(OpenDocument(s, path, 0));
    }
    std::uint8_t caretByte() const { return s.slot(s.CaretPage)->Bytes[s.CaretOffset]; }
    std::uint8_t cell(std::int32_t row, std::int32_t column) const { return s.grid.at(row, 10 + column); }
    void key(int vk, bool ctrl = false, bool shift = false, bool scrollLock = false) {
        DataWindowKeyDown(s, vk, {ctrl, shift, scrollLock});
    }
};

// ---- Hex digits: high nibble first, completed by address ----
// Guards against writing the wrong nibble, moving too early, or forgetting
// the pending byte when the caret wanders.

TEST(HexTyping, TwoDigitsMakeOneByteThenMoveOn) {
    Window w(std::vector<std::uint8_t>(300, 0));
    w.s.settings.FontType = 1;
    DataWindowChar(w.s, '4', false);
    EXPECT_EQ(w.s.pages.CurrentPage.Bytes[0], 0x40);
    EXPECT_EQ(w.cell(0, 0), 0x40);
    EXPECT_EQ(CaretAddress(w.s), 0u);
    EXPECT_EQ(w.s.Modified, 1);
    EXPECT_EQ(w.ui.cellInvalidations, 1);
    DataWindowChar(w.s, 'a', false);
    EXPECT_EQ(w.s.pages.CurrentPage.Bytes[0], 0x4A);
    EXPECT_EQ(w.cell(0, 0), 0x4A);
    EXPECT_EQ(CaretAddress(w.s), 1u);
    EXPECT_EQ(w.s.PendingNibbleAddress, NoPendingNibble);
    EXPECT_EQ(w.ui.statusText[0], "00000001h");
}

TEST(HexTyping, KeepsTheLowNibbleAndIgnoresOtherCharacters) {
    Window w(std::vector<std::uint8_t>(300, 0x37));
    w.s.settings.FontType = 1;
    DataWindowChar(w.s, 'g', false);
    DataWindowChar(w.s, ' ', false);
    EXPECT_EQ(w.caretByte(), 0x37);
    EXPECT_EQ(w.s.Modified, 0);
    DataWindowChar(w.s, 'F', false);
    EXPECT_EQ(w.caretByte(), 0xF7);
}

TEST(HexTyping, PendingNibbleRememberedByAddress) {
    Window w(std::vector<std::uint8_t>(300, 0));
    w.s.settings.FontType = 1;
    DataWindowChar(w.s, '4', false);
    w.key(Key::Right);
    w.key(Key::Left);
    DataWindowChar(w.s, 'a', false);
    EXPECT_EQ(w.s.pages.CurrentPage.Bytes[0], 0x4A);

    // A digit at another byte starts that byte.
    DataWindowChar(w.s, '1', false);  // byte 1, high nibble
    w.key(Key::Right);
    DataWindowChar(w.s, '2', false);  // byte 2, high nibble
    EXPECT_EQ(w.s.pages.CurrentPage.Bytes[1], 0x10);
    EXPECT_EQ(w.s.pages.CurrentPage.Bytes[2], 0x20);
    EXPECT_EQ(CaretAddress(w.s), 2u);
}

TEST(HexTyping, SecondDigitOnLastByteStaysThere) {
    Window w(std::vector<std::uint8_t>(20, 0));
    w.s.settings.FontType = 1;
    w.key(Key::Right, false, false, true);  // Scroll Lock Right: last byte
    ASSERT_EQ(CaretAddress(w.s), 19u);
    DataWindowChar(w.s, 'c', false);
    DataWindowChar(w.s, 'd', false);
    EXPECT_EQ(w.s.pages.CurrentPage.Bytes[19], 0xCD);
    EXPECT_EQ(CaretAddress(w.s), 19u);
    DataWindowChar(w.s, '1', false);
    EXPECT_EQ(w.s.pages.CurrentPage.Bytes[19], 0x1D);
}

TEST(HexTyping, ByteInTheNextPageChangesThatPage) {
    Window w(PatternBytes(3 * 65536, 2));
    w.s.settings.FontType = 1;
    GotoAddress(w.s, 65536 - 16, BoxOwner::DataWindow, false);
    w.key(Key::Down);
    ASSERT_EQ(w.s.CaretPage, PageSlot::Next);
    DataWindowChar(w.s, '0', false);
    DataWindowChar(w.s, '0', false);
    EXPECT_EQ(w.s.pages.NextPage.Bytes[0], 0x00);
    EXPECT_EQ(w.cell(1, 0), 0x00);
}

// ---- Characters in Ascii font type ----
// Guards against control characters slipping into the file.

TEST(AsciiTyping, WhichCharactersWrite) {
    Window w(std::vector<std::uint8_t>(300, 'x'));
    DataWindowChar(w.s, 9, false);
    EXPECT_EQ(w.s.pages.CurrentPage.Bytes[0], 0x09);
    EXPECT_EQ(CaretAddress(w.s), 1u);
    DataWindowChar(w.s, 13, false);
    DataWindowChar(w.s, 8, false);
    DataWindowChar(w.s, 27, false);
    DataWindowChar(w.s, 1, true);  // Ctrl+A
    EXPECT_EQ(w.s.pages.CurrentPage.Bytes[1], 'x');
    EXPECT_EQ(CaretAddress(w.s), 1u);
    DataWindowChar(w.s, ' ', false);
    DataWindowChar(w.s, 0xE9, false);
    EXPECT_EQ(w.s.pages.CurrentPage.Bytes[1], ' ');
    EXPECT_EQ(w.s.pages.CurrentPage.Bytes[2], 0xE9);
    EXPECT_EQ(w.cell(0, 2), 0xE9);
    EXPECT_EQ(w.ui.cellInvalidations, 3);
}

TEST(AsciiTyping, CtrlZeroWritesZeroOnlyInAscii) {
    Window w(std::vector<std::uint8_t>(300, 'x'));
    w.key(Key::Digit0, true);
    EXPECT_EQ(w.s.pages.CurrentPage.Bytes[0], 0x00);
    EXPECT_EQ(CaretAddress(w.s), 1u);
    w.key(Key::Numpad0, true);
    EXPECT_EQ(w.s.pages.CurrentPage.Bytes[1], 0x00);
    w.key(Key::Digit0);  // without Ctrl: the character message types it
    EXPECT_EQ(w.s.pages.CurrentPage.Bytes[2], 'x');
    w.s.settings.FontType = 1;
    w.key(Key::Digit0, true);
    EXPECT_EQ(w.s.pages.CurrentPage.Bytes[2], 'x');
    EXPECT_EQ(CaretAddress(w.s), 2u);
}

TEST(AsciiTyping, TypingAcrossTheLastRowScrolls) {
    Window w(std::vector<std::uint8_t>(1000, 'x'));
    for (int i = 0; i < 160; ++i) DataWindowChar(w.s, 'k', false);
    EXPECT_EQ(CaretAddress(w.s), 160u);
    EXPECT_EQ(w.s.TopOffset, 16);
    EXPECT_EQ(w.ui.scrollPos, 1);
    EXPECT_EQ(w.cell(8, 15), 'k');
    EXPECT_EQ(w.cell(9, 0), 'x');
}

// ---- View modes ----
// Guards against the cycle skipping a mode and against the text view being
// entered for a file the index must not hold.

TEST(ViewModes, F4CyclesAsciiHexTextAscii) {
    std::string text = "one\ntwo\tthree\nfour\n";
    Window w(std::vector<std::uint8_t>(text.begin(), text.end()));
    w.key(Key::F4);
    EXPECT_EQ(w.s.settings.FontType, 1);
    EXPECT_EQ(w.s.TextViewOn, 0);
    w.key(Key::F4);
    EXPECT_EQ(w.s.TextViewOn, 1);
    EXPECT_EQ(w.s.settings.FontType, 0);
    EXPECT_FALSE(w.ui.caretShown);
    EXPECT_EQ(w.s.lines.LineCount, 4);
    w.key(Key::F4);
    EXPECT_EQ(w.s.TextViewOn, 0);
    EXPECT_EQ(w.s.settings.FontType, 0);
    EXPECT_TRUE(w.ui.caretShown);
    EXPECT_TRUE(w.ui.beeps.empty());
}

TEST(ViewModes, IndexBuiltOnceAcrossEntries) {
    std::string text = "a\nb\n";
    Window w(std::vector<std::uint8_t>(text.begin(), text.end()));
    w.key(Key::F4);
    w.key(Key::F4);
    ASSERT_EQ(w.s.lines.LineCount, 3);
    w.key(Key::F4);
    { std::ofstream(w.path, std::ios::binary | std::ios::trunc) << "a\nb\nc\nd\n"; }
    w.key(Key::F4);
    w.key(Key::F4);
    EXPECT_EQ(w.s.TextViewOn, 1);
    EXPECT_EQ(w.s.lines.LineCount, 3);  // the index of the first entry is reused
}

TEST(ViewModes, TextViewRefusedAboveLimit) {
    for (std::uint64_t size : {78643201ull, 78643200ull}) {
        TempDir dir;
        FakeUi ui;
        ui.client = {300, 160};
        EditorState s;
        s.ui = &ui;
        ASSERT_TRUE(OpenDocument(s, dir.sparse("big.bin", size), 0));
        DataWindowKeyDown(s, Key::F4, {});
        DataWindowKeyDown(s, Key::F4, {});
        if (size > TextViewLimit) {
            ASSERT_EQ(ui.beeps.size(), 1u);
            EXPECT_EQ(ui.beeps[0], std::make_pair(4400, 90));
            EXPECT_EQ(s.TextViewOn, 0);
            EXPECT_EQ(s.settings.FontType, 0);
        } else {
            EXPECT_TRUE(ui.beeps.empty());
            EXPECT_EQ(s.TextViewOn, 1);
        }
    }
}

// Guards against the text view's keys moving the hidden hex caret.
TEST(ViewModes, TextViewKeys) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "line\n";
    Window w(std::vector<std::uint8_t>(text.begin(), text.end()));
    w.key(Key::F4);
    w.key(Key::F4);
    ASSERT_EQ(w.s.TextViewOn, 1);
    w.key(Key::Down);
    w.key(Key::Down);
    EXPECT_EQ(w.s.lines.TopLine, 2);
    EXPECT_EQ(w.ui.scrollPos, 2);
    w.key(Key::End);
    EXPECT_EQ(w.s.lines.LeftColumn, 16);
    w.key(Key::Left);
    EXPECT_EQ(w.s.lines.LeftColumn, 15);
    w.key(Key::Home);
    EXPECT_EQ(w.s.lines.LeftColumn, 0);
    DataWindowWheel(w.s, -360);
    EXPECT_EQ(w.s.lines.TopLine, 3);
    EXPECT_EQ(CaretAddress(w.s), 0u);
    const std::size_t dialogs = w.ui.dialogs.size();
    w.key(Key::F5);
    w.key(Key::F7, true);
    EXPECT_EQ(w.ui.dialogs.size(), dialogs);
    EXPECT_FALSE(PlaceCaretAtClick(w.s, 100, 10));
    // Leaving puts the hex view at the top line's first byte: line 3 starts at 15.
    w.key(Key::F4);
    EXPECT_EQ(CaretAddress(w.s), 0u);
    EXPECT_EQ(w.s.TopOffset, 0);
}

// Guards against F3 in the text view searching without leaving it.
TEST(ViewModes, F3InTextViewLeavesItWhenAPatternIsRemembered) {
    std::string text;
    for (int i = 0; i < 400; ++i) text += "line\n";
    Window w(std::vector<std::uint8_t>(text.begin(), text.end()));
    w.key(Key::F4);
    w.key(Key::F4);
    w.key(Key::F3);
    EXPECT_EQ(w.s.TextViewOn, 1);
    ASSERT_EQ(w.ui.dialogs.back(), DialogKind::Find);
    w.s.FindPatternLength = 2;
    for (int i = 0; i < 20; ++i) w.key(Key::Down);
    w.key(Key::F3);
    EXPECT_EQ(w.s.TextViewOn, 0);
    EXPECT_EQ(w.s.TopOffset, 96);  // line 20 starts at 100, its row at 96
    EXPECT_EQ(w.ui.boxes.back().text, "Sequence not found!");
}

// ---- Keys of the hex view ----

TEST(HexKeys, ScrollLockJumpsAndScrolls) {
    Window w(PatternBytes(5000, 4));
    w.key(Key::Right, false, false, true);
    EXPECT_EQ(CaretAddress(w.s), 4999u);
    w.key(Key::Left, false, false, true);
    EXPECT_EQ(CaretAddress(w.s), 0u);
    EXPECT_EQ(w.s.TopOffset, 0);
    GotoAddress(w.s, 16 * 20 + 3, BoxOwner::DataWindow, false);
    w.key(Key::Down);
    w.key(Key::Down, false, false, true);
    EXPECT_EQ(CaretAddress(w.s), 16u * 21 + 3);
    EXPECT_EQ(w.s.grid.caretRow, 0);
    EXPECT_EQ(w.s.TopOffset, 16 * 21);
    w.key(Key::Up, false, false, true);
    w.key(Key::Up, false, false, true);
    EXPECT_EQ(CaretAddress(w.s), 16u * 21 + 3);
    EXPECT_EQ(w.s.grid.caretRow, 2);
    EXPECT_EQ(w.ui.scrollPos, 19);
}

TEST(HexKeys, EveryKeyEndsWithCaretAndAddress) {
    Window w(PatternBytes(5000, 4));
    w.ui.caretX = -1;
    w.ui.statusText[0].clear();
    w.key(90);  // a key with no meaning
    EXPECT_EQ(w.ui.caretX, 81);
    EXPECT_EQ(w.ui.statusText[0], "00000000h");
    w.key(Key::End);
    EXPECT_EQ(w.ui.caretX, 25 * 8 + 1);
    EXPECT_EQ(w.ui.statusText[0], "0000000Fh");
    w.key(Key::PageDown);
    EXPECT_EQ(w.ui.statusText[0], "000000AFh");
    EXPECT_EQ(w.ui.scrollPos, 10);
}

TEST(HexKeys, DialogsAndSearchKeys) {
    Window w(PatternBytes(5000, 4));
    w.key(Key::Enter);
    w.key(Key::F5);
    w.key(Key::F7);
    w.key(Key::F7, true);
    w.key(Key::F7, false, true);  // nothing searched yet: the Find dialog
    w.key(Key::L, true);
    w.key(Key::F3);
    const std::vector<DialogKind> expected = {DialogKind::ModifyByte, DialogKind::GotoAddress, DialogKind::Find,
                                              DialogKind::Replace,    DialogKind::Find,        DialogKind::Find,
                                              DialogKind::Find};
    EXPECT_EQ(w.ui.dialogs, expected);
    EXPECT_TRUE(w.ui.boxes.empty());

    w.s.FindPatternLength = 3;
    w.key(Key::F3);
    w.key(Key::L, true);
    w.key(Key::F7, false, true);
    ASSERT_EQ(w.ui.boxes.size(), 3u);
    for (const auto& box : w.ui.boxes) {
        EXPECT_EQ(box.text, "Sequence not found!");
        EXPECT_EQ(box.title, "Find");
        EXPECT_EQ(box.owner, BoxOwner::DataWindow);
        EXPECT_EQ(box.buttons, BoxButtons::Ok);
    }
    EXPECT_EQ(w.ui.dialogs.size(), expected.size());
}

// Guards against the wheel scrolling by its distance instead of by message.
TEST(Mouse, WheelOneRowPerMessage) {
    Window w(PatternBytes(5000, 4));
    DataWindowWheel(w.s, -720);
    EXPECT_EQ(w.s.TopOffset, 16);
    DataWindowWheel(w.s, -1);
    EXPECT_EQ(w.s.TopOffset, 32);
    DataWindowWheel(w.s, 0);
    EXPECT_EQ(w.s.TopOffset, 32);
    DataWindowWheel(w.s, 240);
    EXPECT_EQ(w.s.TopOffset, 16);
    EXPECT_EQ(w.ui.scrollPos, 1);
}

// Guards against the Modify dialog opening for a click that selected no byte.
TEST(Mouse, DoubleClickOpensModifyOnlyOnAByte) {
    Window w(PatternBytes(100, 4), {300, 600});
    DataWindowDoubleClick(w.s, 40, 20);  // address column
    EXPECT_TRUE(w.ui.dialogs.empty());
    DataWindowDoubleClick(w.s, 81 + 8 * 8, 6 * 16 + 3);  // past the end of the file
    EXPECT_TRUE(w.ui.dialogs.empty());
    DataWindowDoubleClick(w.s, 81 + 8 * 3, 16 * 2);
    ASSERT_EQ(w.ui.dialogs.size(), 1u);
    EXPECT_EQ(w.ui.dialogs[0], DialogKind::ModifyByte);
    EXPECT_EQ(CaretAddress(w.s), 35u);
    DataWindowClick(w.s, 81, 0);
    EXPECT_EQ(CaretAddress(w.s), 0u);
}

// Guards against input reaching a closed document.
TEST(NoDocument, InputDoesNothing) {
    FakeUi ui;
    EditorState s;
    s.ui = &ui;
    DataWindowKeyDown(s, Key::Down, {});
    DataWindowChar(s, 'a', false);
    DataWindowWheel(s, -120);
    DataWindowClick(s, 100, 10);
    DataWindowDoubleClick(s, 100, 10);
    DataWindowScroll(s, ScrollRequest::PageDown, 0);
    DataWindowScroll(s, ScrollRequest::ThumbTrack, 7);
    DataWindowResized(s);
    EXPECT_EQ(ui.caretX, -1);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(ui.dialogs.empty());
    EXPECT_EQ(ui.statusText[0], "");
    EXPECT_FALSE(DataCaretVisible(s));
}

TEST(Caret, ShapeBySettings) {
    Settings st;
    st.BlockCaret = 1;
    st.FontCell = 1;
    EXPECT_EQ(DataCaretShape(st).width, 16);
    EXPECT_EQ(DataCaretShape(st).height, 32);
    st.BlockCaret = 0;
    st.FontCell = 2;
    EXPECT_EQ(DataCaretShape(st).width, 32);
    EXPECT_EQ(DataCaretShape(st).height, 3);
}

// Guards against a scroll bar request leaving the caret or the position stale.
TEST(ScrollRequests, EachRequestMovesAndSyncs) {
    Window w(PatternBytes(5000, 4));
    DataWindowScroll(w.s, ScrollRequest::LineDown, 0);
    EXPECT_EQ(w.s.TopOffset, 16);
    DataWindowScroll(w.s, ScrollRequest::PageDown, 0);
    EXPECT_EQ(w.s.TopOffset, 176);
    EXPECT_EQ(w.ui.scrollPos, 11);
    DataWindowScroll(w.s, ScrollRequest::PageUp, 0);
    DataWindowScroll(w.s, ScrollRequest::LineUp, 0);
    EXPECT_EQ(w.s.TopOffset, 0);
    DataWindowScroll(w.s, ScrollRequest::ThumbTrack, 100);
    EXPECT_EQ(CaretAddress(w.s), 1600u);
    EXPECT_EQ(w.ui.scrollPos, 100);
    EXPECT_EQ(w.ui.statusText[0], "00000640h");
    DataWindowScroll(w.s, 8, 0);  // end of scroll: nothing moves
    EXPECT_EQ(CaretAddress(w.s), 1600u);
}

}  // namespace
}  // namespace vop
