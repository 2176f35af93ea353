// One operation of the editor at a time. A search polls the window system
// for Esc between its chunks, and a question or a message box runs a
// message loop of its own: either may deliver messages that other programs
// sent meanwhile (a close from a task manager or a script, a new size, a
// command). None of them may run the editor again while it holds pages, a
// file or a question. Every entry from the window system is an operation;
// one that finds another in progress does nothing, but a close or a new
// size is noted and carried out once the operation has returned: the close
// through the usual save question, after a search that it stops as Esc does.
#pragma once

#include "state/editor_state.h"

namespace vop {

class Operation {
public:
    explicit Operation(EditorState& s);
    // The last operation to end carries out the close and the new size that
    // arrived while it ran.
    ~Operation();
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

    // Another operation is in progress: this one must do nothing.
    bool refused() const { return refused_; }

private:
    EditorState& s_;
    bool refused_;
};

// While a modal dialog waits for the user, the operation that opened it
// is not in progress: the dialog's OK starts one of its own.
void WaitInDialog(EditorState& s, DialogKind kind, BoxOwner owner);

}  // namespace vop
