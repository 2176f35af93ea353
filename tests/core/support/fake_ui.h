// A scriptable stand-in for the window system: it records what the core asked
// for, answers message boxes from a queue (Ok/No/Cancel when it runs dry),
// counts caret hides as the real system does, and keeps a model of what the
// screen shows: the grid cells as the last paint left them.
#pragma once

#include <array>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "state/editor_state.h"

namespace vop::test {

struct RecordedBox {
    BoxOwner owner;
    std::string text;
    std::string title;
    BoxButtons buttons;
};

class FakeUi : public Ui {
public:
    ClientSize client{800, 600};  // the data window the core lays out against

    std::deque<BoxAnswer> answers;   // scripted answers, consumed in order
    std::vector<RecordedBox> boxes;  // every box shown
    std::vector<DialogKind> dialogs;
    std::vector<std::pair<int, int>> beeps;
    std::optional<std::string> pickedFile;  // the Open dialog's answer
    bool mainWindowClosed = false;

    int caretX = -1, caretY = -1;
    int caretHides = 1;  // a new caret starts hidden; it shows while no hide is left
    std::string title;
    bool searchEnabled = false;
    bool statusTwoParts = false;
    std::string statusText[2];
    int inversions = 0;

    bool scrollArrowsEnabled = false;
    int scrollMax = 0;
    int scrollPos = 0;
    int thumbHeight = 0;
    int arrowHeight = 17;

    // The screen: paints happen when the core returns to the message loop,
    // which a test marks by calling paint(s); they redraw the cells whose
    // pixels were invalidated since the last paint.
    std::vector<std::uint8_t> screen;
    void paint(const EditorState& s);

    bool caretVisible() const { return caretHides == 0; }
    // The text of the last box, or "" when none was shown.
    std::string lastBoxText() const { return boxes.empty() ? std::string() : boxes.back().text; }

    BoxAnswer messageBox(BoxOwner owner, const std::string& text, const std::string& title,
                         BoxButtons buttons) override;
    void invalidateData() override { dirty.push_back({-(1 << 30), -(1 << 30), 1 << 30, 1 << 30}); }
    void invalidateDataRect(int l, int t, int r, int b) override { dirty.push_back({l, t, r, b}); }
    void invertDataRect(int, int, int, int) override { ++inversions; }
    ClientSize dataClientSize() override { return client; }
    void setCaretPos(int x, int y) override { caretX = x, caretY = y; }
    void showCaret() override { caretHides -= caretHides > 0; }
    void hideCaret() override { ++caretHides; }
    void setTitle(const std::string& t) override { title = t; }
    void setSearchCommandsEnabled(bool e) override { searchEnabled = e; }
    void closeMainWindow() override { mainWindowClosed = true; }
    void layoutStatusParts(bool two, const std::string&) override;
    void setStatusText(int part, const std::string& text) override;
    void scrollEnableArrows(bool e) override { scrollArrowsEnabled = e; }
    void scrollSetRange(int m) override { scrollMax = m; }
    int scrollArrowHeight() override { return arrowHeight; }
    void scrollSetThumbHeight(int h, bool) override { thumbHeight = h; }
    void scrollSetPos(int p) override { scrollPos = p; }
    void beep(int f, int ms) override { beeps.emplace_back(f, ms); }
    void openDialog(DialogKind k) override { dialogs.push_back(k); }
    std::optional<std::string> pickFileToOpen() override { return pickedFile; }

private:
    std::vector<std::array<int, 4>> dirty;
};

}  // namespace vop::test
