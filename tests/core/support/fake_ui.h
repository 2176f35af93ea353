// A scriptable stand-in for the window system: it records what the core asked
// for, checks every message box against the program's own texts, titles and
// buttons, answers each question only with a reply given for that very
// question, counts caret hides as the real system does, and keeps a model of
// what the screen shows: the grid cells as the last paint left them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "state/cell_metrics.h"
#include "state/editor_state.h"

namespace vop::test {

using namespace std;


struct RecordedBox {
    BoxOwner owner;
    string text;
    string title;
};
// A box as one line: owner, title, text.
inline string BoxLine(const RecordedBox& b) { return to_string(int(b.owner)) + " " + b.title + ": " + b.text; }

// The user's answer to one question, given before the step that asks it.
struct Reply {
    string question;
    BoxAnswer answer;
};

// Every box the program shows: its text (or the start of it), its titles and
// its buttons. A box that matches no row, or differs from its row, is a fault
// of whatever showed it.
struct KnownBox {
    string text;
    vector<string> titles;
    BoxButtons buttons = BoxButtons::Ok;
};
inline const vector<KnownBox>& KnownBoxes() {
    static const vector<KnownBox> known = {
        {"Part of the file was modified. Save changes?", {"Warning"}, BoxButtons::YesNo},
        {"File has been modified. Save changes?", {"Save file"}, BoxButtons::YesNoCancel},
        {"Replace this occurrance?", {"Replace"}, BoxButtons::YesNoCancel},
        {"Sequence not found!", {"Find", "Replace"}},
        {"Replaced ", {"Replace"}},
        {"Specified address is greater than filesize!", {"Forget it"}},
        {"Source and target must have equal lenght!", {"Error"}},
        {"Error", {"Error"}},
        {"Size of opened file equals 0. File closed!", {"Error"}},
        {"This version cannot edit files greater than 2 gigabytes. File closed.", {"Error"}},
        {"Unable to load font file!", {"Error!"}},
        {"File ", {"Read Only File"}},
    };
    return known;
}

class FakeUi : public Ui {
public:
    ClientSize client{800, 600};  // the data window the core lays out against
    deque<Reply> replies;
    vector<RecordedBox> boxes;
    vector<pair<int, int>> beeps;  // frequency, milliseconds
    vector<DialogKind> dialogs;
    optional<string> pickedFile;   // the Open dialog's answer
    bool mainWindowClosed = false;
    bool searchEnabled = false;
    bool statusTwoParts = false;
    bool scrollArrowsEnabled = false;
    int caretX = -1;
    int caretY = -1;
    int scrollMax = 0;
    int scrollPos = 0;
    int repaints = 0;    // of the whole data window
    int caretHides = 1;  // a new caret starts hidden; it shows while none is left
    string title;
    string statusText[2];

    bool caretVisible() const { return caretHides == 0; }
    string lastBoxText() const { return boxes.empty() ? "" : boxes.back().text; }
    void reply(const string& question, BoxAnswer answer) { replies.push_back({question, answer}); }

    // The screen: a paint happens when the core returns to the message loop,
    // which a test marks by calling paint(s). It redraws every cell whose
    // pixels meet a rectangle invalidated since the last paint.
    vector<uint8_t> screen;
    void paint(const EditorState& s) {
        auto& g = s.grid;
        if (screen.size() != g.cells.size()) screen.assign(g.cells.size(), 0);
        int cw = CellWidth(s.settings.FontCell);
        int ch = CellHeight(s.settings.FontCell);
        int inset = CellInset(s.settings.FontCell);
        for (const auto& [l, t, r, b] : dirty) {
            int firstRow = max(0, t / ch - 1);
            int firstColumn = max(0, (l - inset) / cw - 1);
            for (int row = firstRow; row < g.rows && row * ch < b; ++row) {
                for (int c = firstColumn; c < g.columns && inset + c * cw < r; ++c) {
                    bool meets = inset + (c + 1) * cw > l && (row + 1) * ch > t;
                    if (meets) screen[size_t(row * g.columns + c)] = g.at(row, c);
                }
            }
        }
        dirty.clear();
    }

    BoxAnswer messageBox(BoxOwner owner, const string& text, const string& t, BoxButtons buttons) override {
        boxes.push_back({owner, text, t});
        auto row = find_if(KnownBoxes().begin(), KnownBoxes().end(),
                           [&](const KnownBox& k) { return text.rfind(k.text, 0) == 0; });
        if (row == KnownBoxes().end()) {
            ADD_FAILURE() << "a box the program never shows: " << text;
        } else {
            EXPECT_EQ(count(row->titles.begin(), row->titles.end(), t), 1) << "the title of " << text << ": " << t;
            EXPECT_EQ(int(buttons), int(row->buttons)) << "the buttons of " << text;
        }
        if (buttons == BoxButtons::Ok) return BoxAnswer::Ok;
        if (replies.empty()) {
            ADD_FAILURE() << "asked without a reply: " << text;
            return BoxAnswer::Cancel;
        }
        Reply r = replies.front();
        replies.pop_front();
        EXPECT_EQ(text, r.question) << "asked another question than the step expects";
        return r.answer;
    }
    void invalidateData() override {
        ++repaints;
        dirty.push_back({-Far, -Far, Far, Far});
    }
    void invalidateDataRect(int l, int t, int r, int b) override { dirty.push_back({l, t, r, b}); }
    vector<array<int, 4>> inverted;  // the cell rectangles the blink inverted
    void invertDataRect(int l, int t, int r, int b) override { inverted.push_back({l, t, r, b}); }
    ClientSize dataClientSize() override { return client; }
    void setCaretPos(int x, int y) override {
        caretX = x;
        caretY = y;
    }
    void showCaret() override { caretHides -= caretHides > 0 ? 1 : 0; }
    void hideCaret() override { ++caretHides; }
    void setTitle(const string& t) override { title = t; }
    void setSearchCommandsEnabled(bool e) override { searchEnabled = e; }
    void closeMainWindow() override {
        mainWindowClosed = true;
        if (onClose) onClose();
    }
    void layoutStatusParts(bool two, const string&) override { statusTwoParts = two; }
    void setStatusText(int part, const string& text) override { statusText[part] = text; }
    void scrollEnableArrows(bool e) override { scrollArrowsEnabled = e; }
    void scrollSetRange(int m) override { scrollMax = m; }
    int scrollArrowHeight() override { return 17; }
    int thumb = 0;  // pixels
    void scrollSetThumbHeight(int pixels, bool) override { thumb = pixels; }
    void scrollSetPos(int p) override { scrollPos = p; }
    void beep(int frequency, int ms) override { beeps.emplace_back(frequency, ms); }

    // Time passes only when a test says so: `msPerPoll` each time the clock
    // is read. Esc is pressed at poll `cancelAtPoll`.
    uint64_t now = 0;
    uint64_t msPerPoll = 0;
    int cancelAtPoll = -1;
    int polls = 0;
    int blinking = 0;  // blink timers running
    vector<string> progress;
    uint64_t milliseconds() override { return now += msPerPoll; }
    void showProgress(const string& text) override {
        statusText[0] = text;
        progress.push_back(text);
    }
    // What other programs send while Vop polls (poll number given), and what the
    // window's destruction does once the core closes it.
    function<void(int)> onPoll;
    function<void()> onClose;
    bool cancelRequested() override {
        if (onPoll) onPoll(polls);
        return polls++ == cancelAtPoll;
    }
    void startBlinking() override { ++blinking; }
    void stopBlinking() override { --blinking; }
    void openDialog(DialogKind k, BoxOwner) override { dialogs.push_back(k); }
    optional<string> pickFileToOpen() override { return pickedFile; }

private:
    static constexpr int Far = 1 << 30;
    vector<array<int, 4>> dirty;
};

}  // namespace vop::test
