// What keys, menu commands and start-up do beyond moving the caret and
// editing: which dialog opens, when a search repeats, the view modes, the
// commands refused in the text view, and where settings and fonts come from.
#include <gtest/gtest.h>

#include <tuple>

#include "files/settings_file.h"
#include "support/session.h"

namespace vop {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Dialogs = std::vector<DialogKind>;
const KeyModifiers None{}, Ctrl{true, false, false}, Shift{false, true, false};
const DialogKind Modify = DialogKind::ModifyByte, Goto = DialogKind::GotoAddress, Find = DialogKind::Find,
                 Replace = DialogKind::Replace, Colors = DialogKind::Colors, Font = DialogKind::Font;

Bytes Lines(int count) {  // "line\n", count times
    Bytes text;
    while (count-- > 0) text.insert(text.end(), {'l', 'i', 'n', 'e', '\n'});
    return text;
}

// A key or menu command opening the wrong dialog, a remembered search opening
// the Find dialog instead of searching again, a hex-view command reaching the
// text view (the menu's beep there), or anything happening without a
// document. Only F3 with a search to repeat leaves the text view first. The
// Options and Help dialogs open whatever is shown, also without a document.
TEST(Commands, DialogsBeepsAndRepeatedSearches) {
    const struct { int key; KeyModifiers mods; int command; Dialogs hexView, textView; bool searches, anyTime; } cases[] = {
        {Key::Enter, None, 0, {Modify}, {Modify}, false}, {Key::F5, None, 0, {Goto}, {}, false},
        {Key::F7, None, 0, {Find}, {Find}, false},        {Key::F7, Ctrl, 0, {Replace}, {}, false},
        {Key::F7, Shift, 0, {Find}, {Find}, true},        {Key::L, Ctrl, 0, {Find}, {Find}, true},
        {Key::F3, None, 0, {Find}, {Find}, true},         {0, None, IDM_SEARCH_FIND, {Find}, {Find}, false},
        {0, None, IDM_SEARCH_REPLACE, {Replace}, {}, false}, {0, None, IDM_SEARCH_GOTO, {Goto}, {}, false},
        {0, None, IDM_FILE_SAVE, {}, {}, false},          {0, None, IDM_OPTIONS_COLORS, {Colors}, {Colors}, false, true},
        {0, None, IDM_OPTIONS_FONTS, {Font}, {Font}, false, true},
    };
    for (const auto& c : cases)
        for (int view = 0; view < 5; ++view) {  // hex or text view, with or without a search to repeat; no document
            const bool text = view & 1, search = view & 2 && c.searches, none = view == 4;
            SCOPED_TRACE(testing::Message() << "key " << c.key << " command " << c.command << " view " << view);
            test::Session t;
            if (!none) t.open(Lines(100));
            if (text) EnterTextView(t.s);
            t.s.FindPatternLength = view & 2 ? 3 : 0;
            c.command ? RunMenuCommand(t.s, c.command) : DataWindowKeyDown(t.s, c.key, c.mods);
            EXPECT_EQ(t.ui.dialogs, search || (none && !c.anyTime) ? Dialogs{} : text ? c.textView : c.hexView);
            EXPECT_EQ(t.ui.beeps.size(), text && c.command && c.hexView != c.textView);
            ASSERT_EQ(t.ui.boxes.size(), search ? 1u : 0u);
            EXPECT_TRUE(!search || (t.ui.boxes[0].text == "Sequence not found!" && t.ui.boxes[0].title == "Find" &&
                                    t.ui.boxes[0].owner == BoxOwner::DataWindow));
            EXPECT_TRUE(t.s.TextViewOn == (text && !(search && c.key == Key::F3)) && !(none && t.files.writes));
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
    // A file opened in the text view stays in it, with an index of its own (one line of zeros), unless it is
    // too large for one; then F4 passes the text view by with a beep.
    for (std::uint64_t size : {78643200u, 78643201u}) {
        test::Session big;
        big.open(Lines(2));
        EnterTextView(big.s);
        OpenDroppedFile(big.s, big.dir.sparse("big", size));
        const bool refused = size > TextViewLimit;
        EXPECT_EQ(std::make_tuple(big.s.TextViewOn, big.s.lines.LineCount, big.ui.caretVisible()), std::make_tuple(!refused, !refused, refused));
        for (int key : {Key::F4, Key::F4, Key::F4}) DataWindowKeyDown(big.s, key, None);
        EXPECT_EQ(std::make_tuple(big.s.TextViewOn, big.s.settings.FontType, big.ui.beeps),
                  std::make_tuple(!refused, refused, std::vector<std::pair<int, int>>(refused, {4400, 90})));
    }
}

// Open asking first and forgetting the search, Exit asking and only then
// ending, and a file opened by name that cannot be written named as read-only.
TEST(Menu, OpenAndExitAskFirst) {
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
// cannot go on. A font file one byte short fails its set alone; without a
// settings file the colours are the defaults. Shutting
// down closes the document and its line index. Input without a document
// does nothing. (What the settings file holds is read and written under Wine.)
TEST(StartUp, SettingsAndFontsComeFromTheProgramsFolderOnly) {
    test::Session t;
    EXPECT_FALSE(StartUp(t.s, std::nullopt));
    ShutDown(t.s, std::nullopt);
    EXPECT_TRUE(t.ui.boxes.size() == 2 && t.ui.lastBoxText() == "Unable to load font file!" && t.ui.boxes[1].title == "Error!");
    EXPECT_TRUE(t.files.pathsAsked.empty());
    const std::string folder = t.dir.path() + "/";
    for (const auto& [name, size] : {std::pair{"font.fnt", 4096}, {"font1.fnt", 16384}, {"font2.fnt", 65536},
                                     {"digits.fnt", 128}, {"digits1.fnt", 511}, {"digits2.fnt", 2048}})
        t.dir.write(name, Bytes(static_cast<std::size_t>(size), 0x5A));
    test::Session u;
    EXPECT_TRUE(!StartUp(u.s, folder) && u.ui.boxes.size() == 1 && u.s.glyphs.font32x64[65535] == 0x5A && u.s.settings.BackgroundColor == 0xFFFFFF);
    u.open(Lines(3));
    EnterTextView(u.s);
    ShutDown(u.s, folder);
    EXPECT_TRUE(!u.s.documentOpen() && !u.s.lines.built() && test::ReadWholeFile(folder + SettingsFileName).size() == 11);
    DataWindowChar(t.s, 'a', false);
    DataWindowWheel(t.s, -120);
    DataWindowDoubleClick(t.s, 100, 10);
    DataWindowScroll(t.s, ScrollRequest::PageDown, 0);
    DataWindowResized(t.s);
    EXPECT_TRUE(t.ui.caretX == -1 && t.ui.dialogs.empty() && t.ui.statusText[0].empty() && !t.ui.caretVisible());
}

}  // namespace
}  // namespace vop
