// What keys and menu commands do beyond moving the caret and editing: which
// dialog opens and which window owns it, when a search repeats, the view
// modes, the text view's keys and picture, and the commands that ask first.
#include <gtest/gtest.h>

#include "support/session.h"
#include "view/data_render.h"

namespace vop {
namespace {

using namespace std;


using test::Bytes;
using Dialogs = vector<DialogKind>;
const KeyModifiers None{};
const KeyModifiers Ctrl{true};
const KeyModifiers Shift{false, true};
const DialogKind Modify = DialogKind::ModifyByte;
const DialogKind Goto = DialogKind::GotoAddress;
const DialogKind Find = DialogKind::Find;
const DialogKind Replace = DialogKind::Replace;

Bytes Lines(int count) {  // "line\n", count times
    Bytes text;
    for (int i = 0; i < count; ++i) text.insert(text.end(), {'l', 'i', 'n', 'e', '\n'});
    return text;
}

enum class View { Hex, HexSearched, Text, TextSearched, NoDocument, Count };

// A key or menu command opening the wrong dialog, or one owned by the wrong
// window; a remembered search opening Find instead of searching again; a
// hex-view command reaching the text view (the menu beeps there); anything
// happening without a document. Only F3 with a search to repeat leaves the
// text view first. The Options and Help dialogs open whatever is shown.
TEST(Commands, DialogsOwnersBeepsAndRepeatedSearches) {
    struct {
        int key;
        KeyModifiers mods;
        int command;
        Dialogs hexView, textView;
        bool searches = false;
        bool anyTime = false;
    } cases[] = {
        {Key::Enter, None, 0, {Modify}, {Modify}},
        {Key::F5, None, 0, {Goto}, {}},
        {Key::F7, None, 0, {Find}, {Find}},
        {Key::F7, Ctrl, 0, {Replace}, {}},
        {Key::F7, Shift, 0, {Find}, {Find}, true},
        {Key::L, Ctrl, 0, {Find}, {Find}, true},
        {Key::F3, None, 0, {Find}, {Find}, true},
        {0, None, IDM_SEARCH_FIND, {Find}, {Find}},
        {0, None, IDM_SEARCH_REPLACE, {Replace}, {}},
        {0, None, IDM_SEARCH_GOTO, {Goto}, {}},
        {0, None, IDM_FILE_SAVE, {}, {}},
        {0, None, IDM_OPTIONS_COLORS, {DialogKind::Colors}, {DialogKind::Colors}, false, true},
        {0, None, IDM_OPTIONS_FONTS, {DialogKind::Font}, {DialogKind::Font}, false, true},
        {0, None, IDM_HELP_KEYS, {DialogKind::Keys}, {DialogKind::Keys}, false, true},
        {0, None, IDM_HELP_ABOUT, {DialogKind::About}, {DialogKind::About}, false, true},
    };
    for (auto& c : cases) {
        for (int v = 0; v < int(View::Count); ++v) {
            SCOPED_TRACE(testing::Message() << "key " << c.key << " command " << c.command << " view " << v);
            View view = View(v);
            bool text = view == View::Text || view == View::TextSearched;
            bool remembered = view == View::HexSearched || view == View::TextSearched;
            bool none = view == View::NoDocument;
            bool searches = remembered && c.searches;
            test::Session t;
            if (!none) t.open(Lines(100));
            if (text) EnterTextView(t.s);
            t.s.FindPatternLength = remembered ? 3 : 0;
            if (c.command != 0) RunMenuCommand(t.s, c.command);
            if (c.command == 0) DataWindowKeyDown(t.s, c.key, c.mods);
            Dialogs want = text ? c.textView : c.hexView;
            if (searches || (none && !c.anyTime)) want.clear();
            EXPECT_EQ(t.ui.dialogs, want);
            BoxOwner owner = c.command != 0 ? BoxOwner::MainWindow : BoxOwner::DataWindow;
            EXPECT_EQ(t.ui.dialogOwners, vector<BoxOwner>(want.size(), owner));
            bool refused = text && c.command != 0 && c.hexView != c.textView;
            EXPECT_EQ(t.ui.beeps.size(), refused ? 1u : 0u);
            // A search for 3 zero bytes finds none: reported by the data window.
            ASSERT_EQ(t.ui.boxes.size(), searches ? 1u : 0u);
            if (searches) {
                EXPECT_EQ(t.ui.boxes[0].text, "Sequence not found!");
                EXPECT_EQ(t.ui.boxes[0].title, "Find");
                EXPECT_EQ(t.ui.boxes[0].owner, BoxOwner::DataWindow);
            }
            EXPECT_EQ(t.s.TextViewOn, text && !(searches && c.key == Key::F3));
            if (none) {
                EXPECT_EQ(t.files.writes, 0);
            }
        }
    }
}

// Glyph g shows g in its first row; the blank is 0: the text view's picture
// reads back as the characters of each row.
string TextRow(test::Session& t, int row) {
    for (int g = 0; g < 256; ++g) t.s.glyphs.font8x16[g * 16] = uint8_t(g == ' ' ? 0 : g);
    RebuildGlyphStrips(t.s);
    int width = t.ui.client.width;
    vector<uint32_t> band(size_t(width) * 16);
    PixelSurface out{band.data(), width, 16, width, row * 16};
    RenderDataWindow(t.s, out);
    string cells;
    for (int x = 1; x + 8 <= width; x += 9) {  // text cells stand 9 pixels apart
        int v = 0;
        for (int i = 0; i < 8; ++i) v = v << 1 | (band[size_t(x + i)] == 0);
        cells.push_back(v ? char(v) : '.');
    }
    return cells.substr(0, cells.find_last_not_of('.') + 1);
}

// F4 skipping a mode; the text view's keys scrolling lines and columns (never
// the hidden hex caret), past neither the last screen nor the column range;
// its picture (a tab four blank cells, a carriage return one); and the way
// back to the hex view at the top line's first byte.
TEST(Keys, ViewModesAndTheTextView) {
    test::Session t;
    Bytes file = {'a', '\t', 'b', '\r', 'c', '\n'};
    Bytes more = Lines(399);
    file.insert(file.end(), more.begin(), more.end());
    t.open(file);
    DataWindowKeyDown(t.s, Key::F4, None);
    EXPECT_EQ(t.s.settings.FontType, 1);
    EXPECT_TRUE(t.ui.caretVisible());
    DataWindowKeyDown(t.s, Key::F4, None);
    EXPECT_EQ(t.s.TextViewOn, 1);
    EXPECT_FALSE(t.ui.caretVisible());
    EXPECT_EQ(TextRow(t, 0), "a....b.c");
    EXPECT_EQ(TextRow(t, 1), "line");
    for (int key : {Key::Down, Key::Down, Key::End, Key::Left, Key::Right, Key::Left}) DataWindowKeyDown(t.s, key, None);
    // A touchpad's small steps add up: four make a line down, and 90, a step
    // of none and 60 another with 30 left over; a turn starts the sum again
    // (the 30 down is dropped), so that 120 up make a line up.
    for (int delta : {-30, -30, -30, -30, -90, 0, -60, 60, 60}) DataWindowWheel(t.s, delta);
    EXPECT_EQ(t.s.lines.TopLine, 3);
    EXPECT_EQ(t.s.lines.LeftColumn, 15);
    EXPECT_EQ(t.ui.scrollPos, 3);
    EXPECT_EQ(CaretAddress(t.s), 0u);
    DataWindowKeyDown(t.s, Key::PageDown, None);
    EXPECT_EQ(t.s.lines.TopLine, 13);
    DataWindowKeyDown(t.s, Key::PageUp, None);
    EXPECT_EQ(t.s.lines.TopLine, 3);
    for (int key : {Key::PageUp, Key::Down, Key::PageUp}) DataWindowKeyDown(t.s, key, None);
    EXPECT_EQ(t.s.lines.TopLine, 0);  // from line 1 too
    for (int i = 0; i < 51; ++i) DataWindowKeyDown(t.s, Key::PageDown, None);
    EXPECT_EQ(t.s.lines.TopLine, 400);  // refused once the last line (the empty 401st) is on the screen
    EXPECT_EQ(TextRow(t, 8), "");  // no line below the last
    DataWindowScroll(t.s, ScrollRequest::ThumbTrack, 100000);
    ScrollTextRight(t.s, 0x7FFFFFFF);
    ScrollTextRight(t.s, 16);  // a held End must not overflow
    ScrollTextLeft(t.s, -5);   // nor a step back of less than none move on
    EXPECT_EQ(t.s.lines.TopLine, 400);
    EXPECT_EQ(t.s.lines.LeftColumn, 0x7FFFFFFF);
    DataWindowKeyDown(t.s, Key::F4, None);
    EXPECT_EQ(t.s.TextViewOn, 0);
    EXPECT_EQ(t.s.settings.FontType, 0);
    EXPECT_TRUE(t.ui.caretVisible());
    EXPECT_EQ(CaretAddress(t.s), 2001u / 16 * 16);  // the empty last line starts past the end: the last row
}

// A file opened in the text view stays in it, with an index of its own,
// unless it is too large for one: then F4 passes the text view by with a beep.
TEST(Keys, TheTextViewsSizeLimit) {
    for (uint64_t size : {78643200u, 78643201u}) {
        test::Session t;
        t.open(Lines(2));
        EnterTextView(t.s);
        OpenDroppedFile(t.s, t.dir.sparse("big", size));
        bool refused = size > TextViewLimit;
        EXPECT_EQ(t.s.TextViewOn, !refused);
        EXPECT_EQ(t.s.lines.LineCount, refused ? 0 : 1);
        for (int i = 0; i < 3; ++i) DataWindowKeyDown(t.s, Key::F4, None);
        EXPECT_EQ(t.s.TextViewOn, !refused);
        EXPECT_EQ(t.s.settings.FontType, refused ? 1 : 0);
        vector<pair<int, int>> beeps;
        if (refused) beeps = {{4400, 90}};
        EXPECT_EQ(t.ui.beeps, beeps);
    }
}

// A stale thumb position past the last row lands on the last byte.
TEST(ScrollBar, AStalePositionLandsOnTheLastByte) {
    test::Session t;
    t.open(Lines(32));
    DataWindowScroll(t.s, ScrollRequest::ThumbPosition, 10);
    EXPECT_EQ(CaretAddress(t.s), 159u);
}

// Open asking first and forgetting the search, Exit asking and only then
// ending, and a file opened by name that cannot be written named as read-only.
TEST(Menu, OpenAndExitAskFirst) {
    test::Session t;
    t.open(Lines(3));
    t.s.FindPatternLength = 2;
    int repaints = t.ui.repaints;
    RunMenuCommand(t.s, IDM_FILE_OPEN);  // nothing modified, the pick cancelled: the screen stays
    EXPECT_EQ(t.ui.repaints, repaints);
    t.ui.pickedFile = t.dir.write("other", Lines(7));
    DataWindowChar(t.s, 'Q', false);
    t.ui.answers = {BoxAnswer::Cancel, BoxAnswer::Cancel};
    RunMenuCommand(t.s, IDM_FILE_OPEN);
    RunMenuCommand(t.s, IDM_FILE_EXIT);
    EXPECT_EQ(t.s.pages.DocumentPath, t.path);
    EXPECT_EQ(t.s.FindPatternLength, 2);
    EXPECT_FALSE(t.ui.mainWindowClosed);
    t.ui.answers = {BoxAnswer::No};
    RunMenuCommand(t.s, IDM_FILE_OPEN);
    EXPECT_EQ(t.s.pages.DocumentPath, *t.ui.pickedFile);
    EXPECT_EQ(t.s.FindPatternLength, 0);
    RunMenuCommand(t.s, IDM_FILE_EXIT);  // nothing modified: no question
    EXPECT_TRUE(t.ui.mainWindowClosed);
    EXPECT_EQ(t.ui.boxes.size(), 3u);
    EXPECT_EQ(test::ReadWholeFile(t.path), Lines(3));
    t.files.plan.failOpenUpdate = true;
    OpenNamedFile(t.s, t.path);
    EXPECT_EQ(t.ui.lastBoxText(), "File " + t.path + " has been opened as read only. Any attempt of modifying it will fail!");
}

}  // namespace
}  // namespace vop
