// What keys, menu commands and start-up do beyond moving the caret and
// editing: which dialog opens, when a search repeats, the view modes, the
// commands refused in the text view, and where settings and fonts come from.
#include <gtest/gtest.h>

#include <tuple>

#include "app/data_window_input.h"
#include "app/menu_commands.h"
#include "app/start_up.h"
#include "files/settings_file.h"
#include "resources/resource_ids.h"
#include "support/session.h"
#include "view/caret_navigation.h"
#include "view/text_view.h"

namespace vop {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Dialogs = std::vector<DialogKind>;
const KeyModifiers None{}, Ctrl{true, false, false}, Shift{false, true, false};
const DialogKind Modify = DialogKind::ModifyByte, Goto = DialogKind::GotoAddress, Find = DialogKind::Find,
                 Replace = DialogKind::Replace;

Bytes Lines(int count) {
    Bytes text;
    for (int i = 0; i < count; ++i) text.insert(text.end(), {'l', 'i', 'n', 'e', '\n'});
    return text;
}

// A key opening the wrong dialog, a remembered search opening the Find dialog
// instead of searching again, or a hex-view command reaching the text view.
// Only F3 with a search to repeat leaves the text view first.
TEST(Keys, DialogsAndRepeatedSearches) {
    const struct { int key; KeyModifiers mods; Dialogs hexView, textView; bool searches; } cases[] = {
        {Key::Enter, None, {Modify}, {Modify}, false}, {Key::F5, None, {Goto}, {}, false},
        {Key::F7, None, {Find}, {Find}, false},        {Key::F7, Ctrl, {Replace}, {}, false},
        {Key::F7, Shift, {Find}, {Find}, true},        {Key::L, Ctrl, {Find}, {Find}, true},
        {Key::F3, None, {Find}, {Find}, true},
    };
    for (const auto& c : cases)
        for (int view = 0; view < 4; ++view) {  // hex or text view, with or without a search to repeat
            const bool text = view & 1, search = view & 2 && c.searches;
            SCOPED_TRACE(testing::Message() << "key " << c.key << " view " << view);
            test::Session t;
            t.open(Lines(100));
            if (text) EnterTextView(t.s);
            t.s.FindPatternLength = view & 2 ? 3 : 0;
            DataWindowKeyDown(t.s, c.key, c.mods);
            EXPECT_EQ(t.ui.dialogs, search ? Dialogs{} : text ? c.textView : c.hexView);
            ASSERT_EQ(t.ui.boxes.size(), search ? 1u : 0u);
            if (search) {
                EXPECT_EQ(std::make_tuple(t.ui.boxes[0].text, t.ui.boxes[0].title, t.ui.boxes[0].owner),
                          std::make_tuple("Sequence not found!", "Find", BoxOwner::DataWindow));
            }
            EXPECT_EQ(t.s.TextViewOn, text && !(search && c.key == Key::F3));
        }
}

// F4 skipping a mode, a text view for a file too big to index, the text
// view's keys moving the hidden hex caret, its scrolls passing the last
// screen or the column range, and the way back to the hex view.
TEST(Keys, ViewModesAndTheTextViewsKeys) {
    test::Session t;
    t.open(Lines(400));
    const auto mode = [&t] { return std::make_tuple(t.s.settings.FontType, t.s.TextViewOn, t.ui.caretVisible()); };
    DataWindowKeyDown(t.s, Key::F4, None);
    EXPECT_EQ(mode(), std::make_tuple(1, 0, true));
    DataWindowKeyDown(t.s, Key::F4, None);
    EXPECT_EQ(mode(), std::make_tuple(0, 1, false));
    for (int key : {Key::Down, Key::Down, Key::End, Key::Left, Key::Right, Key::Left}) DataWindowKeyDown(t.s, key, None);
    DataWindowWheel(t.s, -360);  // one line, whatever the distance
    EXPECT_EQ(std::make_tuple(t.s.lines.TopLine, t.s.lines.LeftColumn, t.ui.scrollPos, CaretAddress(t.s)), std::make_tuple(3, 15, 3, 0u));
    for (int i = 0; i < 50; ++i) DataWindowKeyDown(t.s, Key::PageDown, None);
    EXPECT_EQ(t.s.lines.TopLine, 393);  // refused once the last line (the empty 401st) is on the screen
    DataWindowScroll(t.s, ScrollRequest::ThumbTrack, 100000);
    ScrollTextRight(t.s, 0x7FFFFFFF);
    ScrollTextRight(t.s, 16);  // held End must not overflow; a thumb dragged past the end stops on the last line
    EXPECT_EQ(std::make_pair(t.s.lines.TopLine, t.s.lines.LeftColumn), std::make_pair(400, 0x7FFFFFFF));
    DataWindowKeyDown(t.s, Key::F4, None);
    EXPECT_EQ(mode(), std::make_tuple(0, 0, true));
    EXPECT_EQ(CaretAddress(t.s), 1999u / 16 * 16);  // the empty last line starts past the end: the last row
    for (std::uint64_t size : {78643200u, 78643201u}) {
        test::Session big;
        OpenDocument(big.s, big.dir.sparse("big", size), 0);
        DataWindowKeyDown(big.s, Key::F4, None);
        DataWindowKeyDown(big.s, Key::F4, None);
        const bool refused = size > TextViewLimit;
        EXPECT_EQ(std::make_tuple(big.s.TextViewOn, big.s.settings.FontType, big.ui.beeps),
                  std::make_tuple(!refused, 0, std::vector<std::pair<int, int>>(refused, {4400, 90})));
    }
}

// The menu's rules: Replace and Goto refused in the text view with a beep,
// the Search commands and Save doing nothing without a document, Open asking
// first and forgetting the search, Exit asking and only then ending, and a
// file opened by name that cannot be written named as read-only.
TEST(Menu, CommandsFollowTheirRules) {
    const struct { int command; bool open, textView; Dialogs dialogs; bool beep; } cases[] = {
        {IDM_SEARCH_FIND, true, false, {Find}, false},      {IDM_SEARCH_FIND, true, true, {Find}, false},
        {IDM_SEARCH_REPLACE, true, false, {Replace}, false}, {IDM_SEARCH_REPLACE, true, true, {}, true},
        {IDM_SEARCH_GOTO, true, false, {Goto}, false},      {IDM_SEARCH_GOTO, true, true, {}, true},
        {IDM_SEARCH_FIND, false, false, {}, false},         {IDM_SEARCH_GOTO, false, false, {}, false},
        {IDM_OPTIONS_COLORS, true, false, {}, false},       {IDM_FILE_SAVE, false, false, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        test::Session t;
        if (c.open) t.open(Lines(3));
        if (c.textView) EnterTextView(t.s);
        RunMenuCommand(t.s, c.command);
        EXPECT_TRUE(t.ui.dialogs == c.dialogs && t.ui.beeps.size() == c.beep && t.ui.boxes.empty() && !t.files.writes);
    }
    test::Session t;
    t.open(Lines(3));
    t.s.FindPatternLength = 2;
    t.ui.pickedFile = t.dir.write("other", Lines(7));
    DataWindowChar(t.s, 'Q', false);
    t.ui.answers = {BoxAnswer::Cancel, BoxAnswer::Cancel};
    RunMenuCommand(t.s, IDM_FILE_OPEN);  // Cancel: no dialog, nothing changes
    RunMenuCommand(t.s, IDM_FILE_EXIT);
    EXPECT_TRUE(t.s.pages.DocumentPath == t.path && t.s.FindPatternLength == 2 && !t.ui.mainWindowClosed);
    t.ui.answers = {BoxAnswer::No};
    RunMenuCommand(t.s, IDM_FILE_OPEN);
    EXPECT_TRUE(t.s.pages.DocumentPath == *t.ui.pickedFile && t.s.FindPatternLength == 0 && t.ui.answers.empty());
    RunMenuCommand(t.s, IDM_FILE_EXIT);  // nothing modified: no question
    EXPECT_TRUE(t.ui.mainWindowClosed && t.ui.boxes.size() == 3 && test::ReadWholeFile(t.path) == Lines(3));
    t.files.plan.failOpenUpdate = true;
    OpenNamedFile(t.s, t.path);
    EXPECT_EQ(t.ui.lastBoxText(), "File " + t.path + " has been opened as read only. Any attempt of modifying it will fail!");
}

// Settings and fonts come from the program's folder, and from nowhere else:
// without a folder (its path could not be read) both font sets are missing,
// nothing is read from or written to the current folder, and the program
// cannot go on. Without a settings file the colours are the defaults. Input
// without a document does nothing.
TEST(StartUp, SettingsAndFontsComeFromTheProgramsFolderOnly) {
    test::Session t;
    EXPECT_FALSE(StartUp(t.s, std::nullopt));
    ShutDown(t.s, std::nullopt);
    EXPECT_TRUE(t.ui.boxes.size() == 2 && t.ui.lastBoxText() == "Unable to load font file!" && t.ui.boxes[1].title == "Error!");
    EXPECT_TRUE(t.files.pathsAsked.empty());
    const std::string folder = t.dir.path() + "/";
    for (const auto& [name, size] : {std::pair{"font.fnt", 4096}, {"font1.fnt", 16384}, {"font2.fnt", 65536},
                                     {"digits.fnt", 128}, {"digits1.fnt", 512}, {"digits2.fnt", 2048}})
        t.dir.write(name, Bytes(static_cast<std::size_t>(size), 0x5A));
    test::Session u;
    u.s.settings.BackgroundColor = 0x123456;
    EXPECT_TRUE(StartUp(u.s, folder) && u.ui.boxes.empty());
    EXPECT_EQ(std::make_pair(u.s.settings.ForegroundColor, u.s.settings.BackgroundColor), std::make_pair(0u, 0xFFFFFFu));
    const Bytes stored{1, 2, 1, 0x11, 0x22, 0x33, 0, 0x44, 0x55, 0x66, 0};
    t.dir.write("Vop.cfg", stored);
    EXPECT_TRUE(StartUp(u.s, folder) && u.s.settings.FontCell == 2 && u.s.glyphs.digits32x32[2047] == 0x5A);
    t.dir.write("digits1.fnt", Bytes(511, 0x5A));  // one byte short: that set fails, the other loads
    EXPECT_TRUE(!StartUp(u.s, folder) && u.ui.boxes.size() == 1 && u.s.glyphs.font32x64[65535] == 0x5A);
    u.open(Lines(3));
    u.s.settings.FontType = 0;
    ShutDown(u.s, folder);
    EXPECT_TRUE(!u.s.documentOpen() && !u.s.lines.built());
    EXPECT_EQ(test::ReadWholeFile(folder + SettingsFileName), Bytes({0, 2, 1, 0x11, 0x22, 0x33, 0, 0x44, 0x55, 0x66, 0}));
    DataWindowKeyDown(t.s, Key::Down, None);
    DataWindowChar(t.s, 'a', false);
    DataWindowWheel(t.s, -120);
    DataWindowDoubleClick(t.s, 100, 10);
    DataWindowScroll(t.s, ScrollRequest::PageDown, 0);
    DataWindowResized(t.s);
    EXPECT_TRUE(t.ui.caretX == -1 && t.ui.dialogs.empty() && t.ui.statusText[0].empty() && !t.ui.caretVisible());
}

}  // namespace
}  // namespace vop
