// A scriptable stand-in for the window system: it records what the core asked
// for and answers message boxes from a queue (Ok/No/Cancel when it runs dry).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "app/ui.h"

namespace vop::test {

struct RecordedBox {
    BoxOwner owner;
    std::string text;
    std::string title;
    BoxButtons buttons;
};

class FakeUi : public Ui {
public:
    // Client size of the data window the core lays out against.
    ClientSize client{800, 600};

    std::deque<BoxAnswer> answers;   // scripted answers, consumed in order
    std::vector<RecordedBox> boxes;  // every box shown
    std::vector<DialogKind> dialogs;
    std::vector<std::pair<int, int>> beeps;
    std::vector<std::string> sounds;

    int caretX = -1, caretY = -1;
    bool caretShown = false;
    std::string title;
    bool searchEnabled = false;
    bool statusTwoParts = false;
    std::string statusText[2];
    int invalidations = 0;
    int cellInvalidations = 0;
    int inversions = 0;

    bool scrollArrowsEnabled = false;
    int scrollMax = 0;
    int scrollPos = 0;
    int thumbHeight = 0;
    int arrowHeight = 17;

    BoxAnswer messageBox(BoxOwner owner, const std::string& text, const std::string& title,
                         BoxButtons buttons) override;
    void invalidateData(bool) override { ++invalidations; }
    void invalidateDataRect(int, int, int, int, bool) override { ++cellInvalidations; }
    void invertDataRect(int, int, int, int) override { ++inversions; }
    ClientSize dataClientSize() override { return client; }
    void setCaretPos(int x, int y) override { caretX = x; caretY = y; }
    void showCaret() override { caretShown = true; }
    void hideCaret() override { caretShown = false; }
    void setTitle(const std::string& t) override { title = t; }
    void setSearchCommandsEnabled(bool e) override { searchEnabled = e; }
    void layoutStatusParts(bool two, const std::string&) override;
    void setStatusText(int part, const std::string& text) override;
    void scrollEnableArrows(bool e) override { scrollArrowsEnabled = e; }
    void scrollSetRange(int m) override { scrollMax = m; }
    int scrollArrowHeight() override { return arrowHeight; }
    void scrollSetThumbHeight(int h, bool) override { thumbHeight = h; }
    void scrollSetPos(int p) override { scrollPos = p; }
    int scrollGetPos() override { return scrollPos; }
    void beep(int f, int ms) override { beeps.emplace_back(f, ms); }
    void playSound(const char* name) override { sounds.emplace_back(name); }
    void openDialog(DialogKind k) override { dialogs.push_back(k); }

    // The text of the last box, or "" when none was shown.
    std::string lastBoxText() const { return boxes.empty() ? std::string() : boxes.back().text; }
};

}  // namespace vop::test
