// The one door from the platform-free core to the window system. Texts are
// UTF-8. The Win32 shell implements it with real windows; tests implement it
// with a scriptable fake that records what the core asked for and answers
// questions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vop {

// Which window owns a message box. Dialogs own the boxes they raise.
enum class BoxOwner { MainWindow, DataWindow, ActiveDialog };

enum class BoxButtons { Ok, YesNo, YesNoCancel };

enum class BoxAnswer { Ok, Yes, No, Cancel };

// Dialogs the data window and the menu open; the shell runs them modally,
// owned by the window whose key or menu opened them.
enum class DialogKind { ModifyByte, GotoAddress, Find, Replace, Colors, Font, Keys, About };

struct ClientSize {
    int width = 0;
    int height = 0;
};

class Ui {
public:
    virtual ~Ui() = default;

    // A modal message box with a fixed text and title.
    virtual BoxAnswer messageBox(BoxOwner owner, const std::string& text, const std::string& title,
                                 BoxButtons buttons) = 0;

    // Repaint requests for the data window; a paint covers every pixel of
    // what it repaints, so nothing needs erasing first. Rectangles are in
    // client pixels.
    virtual void invalidateData() = 0;
    virtual void invalidateDataRect(int left, int top, int right, int bottom) = 0;
    // Inverts one cell rectangle at once, outside any paint request.
    virtual void invertDataRect(int left, int top, int right, int bottom) = 0;

    // The data window's client size, read on every call (nothing is cached).
    virtual ClientSize dataClientSize() = 0;

    // The system caret of the data window. Hiding is counted by the window
    // system: every hide needs its own show.
    virtual void setCaretPos(int x, int y) = 0;
    virtual void showCaret() = 0;
    virtual void hideCaret() = 0;

    // Main window.
    virtual void setTitle(const std::string& title) = 0;
    virtual void setSearchCommandsEnabled(bool enabled) = 0;
    virtual void closeMainWindow() = 0;

    // Status bar: one part (empty) or two parts (address, size).
    virtual void layoutStatusParts(bool twoParts, const std::string& sizeText) = 0;
    virtual void setStatusText(int part, const std::string& text) = 0;

    // The data window's vertical flat scroll bar.
    virtual void scrollEnableArrows(bool enable) = 0;
    virtual void scrollSetRange(int maximum) = 0;
    virtual int scrollArrowHeight() = 0;  // 0 when it cannot be read
    virtual void scrollSetThumbHeight(int pixels, bool redraw) = 0;
    virtual void scrollSetPos(int position) = 0;

    virtual void beep(int frequency, int milliseconds) = 0;

    // Long searches. A clock in milliseconds (any origin); a line of progress
    // in the status bar's first part, painted at once; and whether the user
    // has pressed Esc since the last poll. Polling keeps the window system
    // from marking the program as not responding, and never lets a command,
    // a dialog or any other key act meanwhile.
    virtual std::uint64_t milliseconds() = 0;
    virtual void showProgress(const std::string& text) = 0;
    virtual bool cancelRequested() = 0;

    // The occurrence a replace asks about blinks: a 600 ms timer on the data
    // window while the question is up. Stopping it repaints the data window,
    // so that no cell stays inverted.
    virtual void startBlinking() = 0;
    virtual void stopBlinking() = 0;

    virtual void openDialog(DialogKind kind, BoxOwner owner) = 0;
    // The platform's open-file dialog; nothing when the user cancels.
    virtual std::optional<std::string> pickFileToOpen() = 0;
};

// A Ui that does nothing and answers every question with Cancel/No.
// A fresh EditorState points at one so that the core never dereferences null.
class NullUi : public Ui {
public:
    BoxAnswer messageBox(BoxOwner, const std::string&, const std::string&, BoxButtons b) override {
        return b == BoxButtons::Ok ? BoxAnswer::Ok : (b == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Cancel);
    }
    void invalidateData() override {}
    void invalidateDataRect(int, int, int, int) override {}
    void invertDataRect(int, int, int, int) override {}
    ClientSize dataClientSize() override { return {}; }
    void setCaretPos(int, int) override {}
    void showCaret() override {}
    void hideCaret() override {}
    void setTitle(const std::string&) override {}
    void setSearchCommandsEnabled(bool) override {}
    void closeMainWindow() override {}
    void layoutStatusParts(bool, const std::string&) override {}
    void setStatusText(int, const std::string&) override {}
    void scrollEnableArrows(bool) override {}
    void scrollSetRange(int) override {}
    int scrollArrowHeight() override { return 0; }
    void scrollSetThumbHeight(int, bool) override {}
    void scrollSetPos(int) override {}
    void beep(int, int) override {}
    std::uint64_t milliseconds() override { return 0; }
    void showProgress(const std::string&) override {}
    bool cancelRequested() override { return false; }
    void startBlinking() override {}
    void stopBlinking() override {}
    void openDialog(DialogKind, BoxOwner) override {}
    std::optional<std::string> pickFileToOpen() override { return std::nullopt; }
};

}  // namespace vop
