// What keys do beyond moving the caret and editing: the view modes, and the
// text view's keys and picture. (Which key opens which dialog the real
// program shows under Wine.)
#include <gtest/gtest.h>

#include "support/session.h"
#include "view/data_render.h"
#include "view/reader_words.h"
#include "view/screen_layout.h"

namespace vop {
namespace {

using namespace std;


using test::Bytes;
const KeyModifiers None{};

Bytes Lines(int count) {  // "line\n", count times
    Bytes text;
    for (int i = 0; i < count; ++i) text.insert(text.end(), {'l', 'i', 'n', 'e', '\n'});
    return text;
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

// F4 skipping a mode; the text view's keys and thumb scrolling lines and
// columns (never the hidden hex caret), past neither the last screen nor the
// column range, the scroll bar a position a line; its picture (a tab four
// blank cells, a carriage return one); and the way back to the hex view at
// the row of the top line's first byte.
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
    EXPECT_EQ(t.ui.scrollMax, 391);  // a position a line, the last screen's top the last
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
    for (int key : {Key::PageUp, Key::Down, Key::PageUp, Key::Down, Key::Up}) DataWindowKeyDown(t.s, key, None);
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
    for (int i = 0; i < 2; ++i) DataWindowKeyDown(t.s, Key::F4, None);
    int repaints = t.ui.repaints;
    DataWindowScroll(t.s, ScrollRequest::ThumbTrack, 5);
    EXPECT_EQ(t.ui.repaints, repaints + 1);
    DataWindowKeyDown(t.s, Key::F4, None);
    EXPECT_EQ(CaretAddress(t.s), 16u);  // the row of line 5's first byte, 26
    EXPECT_EQ(t.ui.scrollPos, 1);
    for (int key : {Key::F4, Key::F4, Key::PageDown}) DataWindowKeyDown(t.s, key, None);
    t.ui.client.height = 6500;  // every line fits now: the view starts at the first again
    DataWindowResized(t.s);
    EXPECT_EQ(t.s.lines.TopLine, 0);
}

// A stale thumb position a row past the end of a file of whole rows lands on
// its last byte, with no message.
TEST(Keys, AStaleThumbLandsOnTheLastByte) {
    test::Session t;
    t.open(Bytes(4096));
    DataWindowScroll(t.s, ScrollRequest::ThumbPosition, 256);
    EXPECT_EQ(CaretAddress(t.s), 4095u);
    EXPECT_EQ(t.ui.lastBoxText(), "");
}

// An occurrence blinks cell by cell from the caret's cell, going on at the
// next row's first cell past a row's end (16 bytes a row of 8-pixel cells,
// drawn a pixel in).
TEST(Keys, TheBlinkInvertsTheOccurrencesCells) {
    test::Session t;
    t.open(Bytes(100));
    InvertCells(t.s, (10 + 14) * 8, 16, 3);
    vector<array<int, 4>> cells = {{193, 16, 201, 32}, {201, 16, 209, 32}, {81, 32, 89, 48}};
    EXPECT_EQ(t.ui.inverted, cells);
}

// AltGr comes as Ctrl and Alt held together, and types: AltGr+0 (a German
// keyboard's "}") writes no 00 byte, AltGr+L (a Polish "ł") does not search
// again, and both characters are typed. Ctrl alone makes the shortcuts.
TEST(Keys, AltGrTypesWhereCtrlMakesShortcuts) {
    test::Session t;
    t.open(Bytes(100, 'x'));
    KeyModifiers altGr{true, false, false, true};
    for (auto [key, code] : {pair{Key::Digit0, '}'}, {Key::L, '\xB3'}}) {
        DataWindowKeyDown(t.s, key, altGr);
        DataWindowChar(t.s, uint8_t(code), altGr);
    }
    DataWindowKeyDown(t.s, Key::Digit0, KeyModifiers{true});
    DataWindowChar(t.s, '0', KeyModifiers{true});
    EXPECT_EQ(Bytes(t.s.pages.CurrentPage.Bytes.get(), t.s.pages.CurrentPage.Bytes.get() + 4), (Bytes{'}', 0xB3, 0, 'x'}));
    EXPECT_EQ(t.ui.dialogs.size(), 0u);
}

// What a screen reader is told of the data window after each step: the
// caret's address, byte and character (a plain name where the byte draws
// none, the screen's picture above 0x7F), a high hex digit waiting for its
// low one, the text view's top line as shown (a tab a blank), and no file.
TEST(Keys, WhatAScreenReaderIsTold) {
    test::Session t;
    Bytes file = {'A', '\t', 0x82, 0x00, 0xFF, 0x1F, '\n', 'b', 0xDB};
    file.resize(20, '\n');
    t.open(file);
    struct {
        int key;
        char typed;
        string name, value;
    } steps[] = {
        {0, 0, "Address 00000000, byte 41, A", "41"},
        {Key::Right, 0, "Address 00000001, byte 09, tab", "09"},
        {Key::Right, 0, "Address 00000002, byte 82, \xC3\xA9", "82"},
        {Key::Right, 0, "Address 00000003, byte 00, null", "00"},
        {Key::Right, 0, "Address 00000004, byte FF, no character", "FF"},
        {Key::Right, 0, "Address 00000005, byte 1F, control character", "1F"},
        {Key::F4, '4', "Address 00000005, byte 4F, O, low digit to come", "4F"},
        {0, '1', "Address 00000006, byte 0A, line feed", "0A"},
        {Key::F4, 0, "Line 1: A \xC3\xA9", "A \xC3\xA9"},  // the file as stored
        {Key::Down, 0, "Line 2: b\xE2\x96\x88", "b\xE2\x96\x88"},
        {Key::F4, 0, "Address 00000000, byte 41, A", "41"},  // the row of line 2's first byte
    };
    for (auto& step : steps) {
        if (step.key) DataWindowKeyDown(t.s, step.key, None);
        if (step.typed) DataWindowChar(t.s, uint8_t(step.typed), None);
        EXPECT_EQ(DataWindowWords(t.s).name, step.name);
        EXPECT_EQ(DataWindowWords(t.s).value, step.value);
    }
    pair<uint8_t, string> named[] = {  // the other bytes with names of their own, set at the caret
        {0x07, "bell"}, {0x08, "backspace"}, {0x0C, "form feed"}, {0x0D, "carriage return"},
        {0x1B, "escape"}, {0x20, "space"}, {0x7F, "delete"}};
    for (auto& [byte, name] : named) {
        ModifyCaretByte(t.s, byte);
        EXPECT_EQ(DataWindowWords(t.s).name, "Address 00000000, byte " + DataWindowWords(t.s).value + ", " + name);
    }
    t.ui.reply("File has been modified. Save changes?", BoxAnswer::No);
    RunMenuCommand(t.s, IDM_FILE_CLOSE);
    EXPECT_EQ(DataWindowWords(t.s).name, "No file open");
}

// The text view takes files of up to 75 MiB: one opened in it stays in it,
// with an index of its own; one a byte larger falls back to the hex view,
// and F4 passes the text view by with a beep.
TEST(Keys, TheTextViewsSizeLimit) {
    for (uint64_t size : {78643200u, 78643201u}) {
        SCOPED_TRACE(size);
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

}  // namespace
}  // namespace vop
