// What the data window does with characters, keys, the wheel and the mouse.
#include "app/data_window_input.h"

#include <gtest/gtest.h>

#include "files/real_file_system.h"

#include <tuple>

#include "view/goto_address.h"
#include "view/document_view.h"
#include "support/fake_ui.h"
#include "support/temp_files.h"
#include "view/caret_navigation.h"

namespace vop {
namespace {

const KeyModifiers Ctrl{true, false, false}, Shift{false, true, false}, ScrollLock{false, false, true};

struct Window {
    test::TempDir dir;
    test::FakeUi ui;
    EditorState s;
    // A file of `text`, or of `sparseSize` zeros when given; 16 per row, 10 rows.
    explicit Window(const std::string& text, std::uint64_t sparseSize = 0, ClientSize client = {300, 160}) {
        ui.client = client;
        s.ui = &ui;
        s.files = &RealFileSystem();
        EXPECT_EQ(OpenDocument(
            s, sparseSize ? dir.sparse("w.bin", sparseSize) : dir.write("w.bin", {text.begin(), text.end()}), 0), LoadOutcome::Loaded);
    }
    std::uint8_t byte(std::uint32_t a) const { return s.pages.CurrentPage.Bytes[a]; }
    void press(std::initializer_list<int> keys, KeyModifiers mods = {}) {
        for (int k : keys) DataWindowKeyDown(s, k, mods);
    }
    void type(const std::string& text) {
        for (char c : text) DataWindowChar(s, static_cast<std::uint8_t>(c), false);
    }
};

// Guards against writing the wrong nibble, moving on too early, forgetting the
// pending byte when the caret wanders, typing past the last byte, and writing
// a byte of the next page into the current one.
TEST(Typing, HexDigitsHighNibbleFirstRememberedByAddress) {
    Window w(std::string(20, '\x37'));
    w.s.settings.FontType = 1;
    w.type("4g ");  // only hex digits count
    EXPECT_EQ(std::make_tuple(w.byte(0), w.s.grid.at(0, 10), CaretAddress(w.s), w.s.Modified),
              std::make_tuple(0x47, 0x47, 0u, 1));
    w.press({Key::Right, Key::Left});
    w.type("a1");
    w.press({Key::Right});
    w.type("2");
    EXPECT_EQ(std::make_tuple(w.byte(0), w.byte(1), w.byte(2), CaretAddress(w.s)),
              std::make_tuple(0x4A, 0x17, 0x27, 2u));
    w.press({Key::Right}, ScrollLock);
    w.type("cd1");
    EXPECT_EQ(std::make_tuple(w.byte(19), CaretAddress(w.s)), std::make_tuple(0x1D, 19u));

    Window next(std::string(3 * 65536, 'x'));
    next.s.settings.FontType = 1;
    GotoAddress(next.s, 65536 - 16, BoxOwner::DataWindow);
    next.press({Key::Down});
    next.type("00");
    EXPECT_EQ(std::make_tuple(next.s.pages.NextPage.Bytes[0], next.byte(65535 - 15), next.s.grid.at(1, 10)),
              std::make_tuple(0, 'x', 0));
}

// Guards against control characters slipping into the file, Ctrl+0 writing
// outside the Ascii type, and typing off the screen without scrolling.
TEST(Typing, AsciiCharactersAndCtrlZero) {
    Window w(std::string(1000, 'x'));
    for (std::uint8_t code : {9, 13, 8, 27}) DataWindowChar(w.s, code, false);
    DataWindowChar(w.s, 1, true);  // Ctrl+A
    w.type(" \xE9");
    EXPECT_EQ(std::make_tuple(w.byte(0), w.byte(1), w.byte(2), w.s.grid.at(0, 12)),
              std::make_tuple(9, ' ', 0xE9, 0xE9));
    w.press({Key::Digit0, Key::Numpad0}, Ctrl);
    w.press({Key::Digit0});  // without Ctrl the character message types it
    w.s.settings.FontType = 1;
    w.press({Key::Digit0}, Ctrl);
    EXPECT_EQ(std::make_tuple(w.byte(3), w.byte(4), w.byte(5), CaretAddress(w.s)), std::make_tuple(0, 0, 'x', 5u));
    w.s.settings.FontType = 0;
    w.type(std::string(155, 'k'));
    EXPECT_EQ(std::make_tuple(w.s.TopOffset, w.ui.scrollPos, w.s.grid.at(8, 25), w.s.grid.at(9, 10)),
              std::make_tuple(16, 1, 'k', 'x'));
}

// Guards against the cycle skipping a mode, and against entering the text
// view for a file too big to index.
TEST(ViewModes, F4CyclesAsciiHexText) {
    Window w("one\ntwo\tthree\nfour\n");
    const auto mode = [&w] { return std::make_tuple(w.s.settings.FontType, w.s.TextViewOn, w.ui.caretVisible()); };
    w.press({Key::F4});
    EXPECT_EQ(mode(), std::make_tuple(1, 0, true));
    w.press({Key::F4});
    EXPECT_EQ(mode(), std::make_tuple(0, 1, false));
    EXPECT_EQ(w.s.lines.LineCount, 4);
    w.press({Key::F4});
    EXPECT_EQ(mode(), std::make_tuple(0, 0, true));
    for (std::uint64_t size : {78643200u, 78643201u}) {
        Window big("", size);
        big.press({Key::F4, Key::F4});
        EXPECT_EQ(std::make_tuple(big.s.TextViewOn, big.s.settings.FontType, big.ui.beeps.size()),
                  size == 78643200u ? std::make_tuple(1, 0, 0u) : std::make_tuple(0, 0, 1u));
    }
}

// Guards against the text view's keys moving the hidden hex caret or opening
// dialogs, and against F3 searching without leaving the text view.
TEST(ViewModes, TextViewKeys) {
    std::string text;
    for (int i = 0; i < 400; ++i) text += "line\n";
    Window w(text);
    w.press({Key::F4, Key::F4, Key::Down, Key::Down, Key::End, Key::Left});
    DataWindowWheel(w.s, -360);
    EXPECT_EQ(std::make_tuple(w.s.lines.TopLine, w.s.lines.LeftColumn, w.ui.scrollPos, CaretAddress(w.s)),
              std::make_tuple(3, 15, 3, 0u));
    w.press({Key::F5, Key::F3});  // nothing searched yet: the Find dialog, over the text view
    w.press({Key::F7}, Ctrl);
    EXPECT_FALSE(PlaceCaretAtClick(w.s, 100, 10));
    EXPECT_EQ(std::make_tuple(w.ui.dialogs, w.s.TextViewOn), std::make_tuple(std::vector{DialogKind::Find}, 1));
    w.s.FindPatternLength = 2;
    for (int i = 0; i < 17; ++i) w.press({Key::Down});
    w.press({Key::F3});
    EXPECT_EQ(std::make_tuple(w.s.TextViewOn, w.s.TopOffset, w.ui.lastBoxText()),
              std::make_tuple(0, 96, "Sequence not found!"));  // line 20 starts at 100
}

// Guards against Scroll Lock Right and Left not jumping to the file's ends,
// or a key that leaves the caret shape or the address in the status bar behind.
TEST(HexKeys, ScrollLockJumpsToTheEnds) {
    Window w(std::string(5000, 'x'));
    w.press({Key::Right}, ScrollLock);
    EXPECT_EQ(std::make_tuple(CaretAddress(w.s), w.s.TopOffset, w.ui.statusText[0], w.ui.caretX),
              std::make_tuple(4999u, 4992, "00001387h", 81 + 7 * 8));
    w.press({Key::Left}, ScrollLock);
    EXPECT_EQ(std::make_tuple(CaretAddress(w.s), w.s.TopOffset, w.ui.statusText[0]),
              std::make_tuple(0u, 0, "00000000h"));
}

// Guards against a key opening the wrong dialog, or a remembered search
// opening the Find dialog instead of searching again.
TEST(HexKeys, DialogAndSearchKeys) {
    const std::tuple<int, KeyModifiers, bool, DialogKind> keys[] = {
        {Key::Enter, {}, false, DialogKind::ModifyByte}, {Key::F5, {}, false, DialogKind::GotoAddress},
        {Key::F7, {}, false, DialogKind::Find},          {Key::F7, Ctrl, false, DialogKind::Replace},
        {Key::F7, Shift, true, DialogKind::Find},        {Key::L, Ctrl, true, DialogKind::Find},
        {Key::F3, {}, true, DialogKind::Find}};
    for (int remembered : {0, 3}) {
        for (const auto& [key, mods, searches, dialog] : keys) {
            Window w(std::string(5000, 'x'));
            w.s.FindPatternLength = remembered;
            w.press({key}, mods);
            const bool search = remembered && searches;
            EXPECT_EQ(w.ui.dialogs, search ? std::vector<DialogKind>{} : std::vector{dialog}) << key;
            ASSERT_EQ(w.ui.boxes.size(), search ? 1u : 0u) << key;
            if (search) {
                EXPECT_EQ(std::make_tuple(w.ui.boxes[0].text, w.ui.boxes[0].title, w.ui.boxes[0].owner),
                          std::make_tuple("Sequence not found!", "Find", BoxOwner::DataWindow));
            }
        }
    }
}

// Guards against the Modify dialog opening for a click that selected no byte.
TEST(Mouse, DoubleClickOpensModifyOnlyOnAByte) {
    Window w(std::string(100, 'x'), 0, {300, 600});
    DataWindowDoubleClick(w.s, 40, 20);                  // address column
    DataWindowDoubleClick(w.s, 81 + 8 * 8, 6 * 16 + 3);  // past the end of the file
    EXPECT_TRUE(w.ui.dialogs.empty());
    DataWindowDoubleClick(w.s, 81 + 8 * 3, 16 * 2);
    EXPECT_EQ(w.ui.dialogs, std::vector{DialogKind::ModifyByte});
    EXPECT_EQ(CaretAddress(w.s), 35u);
}

// Guards against input reaching a closed document.
TEST(NoDocument, InputDoesNothing) {
    test::FakeUi ui;
    EditorState s;
    s.ui = &ui;
    s.files = &RealFileSystem();
    DataWindowKeyDown(s, Key::Down, {});
    DataWindowChar(s, 'a', false);
    DataWindowWheel(s, -120);
    DataWindowDoubleClick(s, 100, 10);
    DataWindowScroll(s, ScrollRequest::PageDown, 0);
    DataWindowResized(s);
    EXPECT_EQ(std::make_tuple(ui.caretX, ui.boxes.size(), ui.dialogs.size(), ui.statusText[0], ui.caretVisible()),
              std::make_tuple(-1, 0u, 0u, "", false));
}

}  // namespace
}  // namespace vop
