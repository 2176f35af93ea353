// A scriptable stand-in for the window system: it records what the core asked
// for, answers message boxes from a queue (Ok/No/Cancel when it runs dry),
// counts caret hides as the real system does, and keeps a model of what the
// screen shows: the grid cells as the last paint left them.
#pragma once

#include <algorithm>
#include <array>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "state/cell_metrics.h"
#include "state/editor_state.h"

namespace vop::test {

struct RecordedBox { BoxOwner owner; std::string text, title; BoxButtons buttons; };

class FakeUi : public Ui {
public:
    ClientSize client{800, 600};             // the data window the core lays out against
    std::deque<BoxAnswer> answers;           // scripted answers, consumed in order
    std::vector<RecordedBox> boxes;          // every box shown
    std::vector<DialogKind> dialogs;
    std::vector<BoxOwner> dialogOwners;
    std::vector<std::pair<int, int>> beeps;
    std::optional<std::string> pickedFile;   // the Open dialog's answer
    bool mainWindowClosed = false, searchEnabled = false, statusTwoParts = false, scrollArrowsEnabled = false;
    int caretX = -1, caretY = -1, scrollMax = 0, scrollPos = 0, repaints = 0;  // repaints: of the whole data window
    int caretHides = 1;  // a new caret starts hidden; it shows while no hide is left
    std::string title, statusText[2];
    // The screen: paints happen when the core returns to the message loop,
    // which a test marks by calling paint(s); they redraw the cells whose
    // pixels were invalidated since the last paint.
    std::vector<std::uint8_t> screen;
    void paint(const EditorState& s) {
        const ScreenGrid& g = s.grid;
        if (screen.size() != g.cells.size()) screen.assign(g.cells.size(), 0);
        const int cw = CellWidth(s.settings.FontCell), ch = CellHeight(s.settings.FontCell), inset = CellInset(s.settings.FontCell);
        // Every cell whose pixels meet a repainted rectangle shows what the grid holds now.
        for (const auto& [l, t, r, b] : dirty)
            for (int row = std::max(0, t / ch - 1); row < g.rows && row * ch < b; ++row)
                for (int c = std::max(0, (l - inset) / cw - 1); c < g.columns && inset + c * cw < r; ++c)
                    if (inset + (c + 1) * cw > l && (row + 1) * ch > t) screen[std::size_t(row * g.columns + c)] = g.at(row, c);
        dirty.clear();
    }

    bool caretVisible() const { return caretHides == 0; }
    std::string lastBoxText() const { return boxes.empty() ? std::string() : boxes.back().text; }

    BoxAnswer messageBox(BoxOwner owner, const std::string& text, const std::string& t, BoxButtons buttons) override {
        boxes.push_back({owner, text, t, buttons});
        const BoxAnswer none = buttons == BoxButtons::Ok ? BoxAnswer::Ok : buttons == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Cancel;
        const BoxAnswer a = answers.empty() ? none : answers.front();
        if (!answers.empty()) answers.pop_front();
        return a;
    }
    void invalidateData() override { ++repaints, dirty.push_back({-(1 << 30), -(1 << 30), 1 << 30, 1 << 30}); }
    void invalidateDataRect(int l, int t, int r, int b) override { dirty.push_back({l, t, r, b}); }
    void invertDataRect(int, int, int, int) override {}
    ClientSize dataClientSize() override { return client; }
    void setCaretPos(int x, int y) override { caretX = x, caretY = y; }
    void showCaret() override { caretHides -= caretHides > 0; }
    void hideCaret() override { ++caretHides; }
    void setTitle(const std::string& t) override { title = t; }
    void setSearchCommandsEnabled(bool e) override { searchEnabled = e; }
    void closeMainWindow() override { mainWindowClosed = true; }
    void layoutStatusParts(bool two, const std::string&) override { statusTwoParts = two; }
    void setStatusText(int part, const std::string& text) override { statusText[part] = text; }
    void scrollEnableArrows(bool e) override { scrollArrowsEnabled = e; }
    void scrollSetRange(int m) override { scrollMax = m; }
    int scrollArrowHeight() override { return 17; }
    void scrollSetThumbHeight(int, bool) override {}
    void scrollSetPos(int p) override { scrollPos = p; }
    void beep(int f, int ms) override { beeps.emplace_back(f, ms); }
    // Time passes only when a test says so: `msPerPoll` each time the clock is read.
    std::uint64_t now = 0, msPerPoll = 0;
    int cancelAtPoll = -1, polls = 0, blinking = 0;  // Esc is pressed at that poll; blinking: timers running
    std::vector<std::string> progress;
    std::uint64_t milliseconds() override { return now += msPerPoll; }
    void showProgress(const std::string& text) override { progress.push_back(statusText[0] = text); }
    bool cancelRequested() override { return polls++ == cancelAtPoll; }
    void startBlinking() override { ++blinking; }
    void stopBlinking() override { --blinking; }
    void openDialog(DialogKind k, BoxOwner owner) override {
        dialogs.push_back(k);
        dialogOwners.push_back(owner);
    }
    std::optional<std::string> pickFileToOpen() override { return pickedFile; }

private:
    std::vector<std::array<int, 4>> dirty;
};

}  // namespace vop::test
