#include "app/operation.h"

#include <utility>

#include "app/data_window_input.h"
#include "app/menu_commands.h"

namespace vop {

Operation::Operation(EditorState& s) : s_(s), refused_(s.OperationsRunning > 0) {
    if (!refused_) s.OperationsRunning = 1;
}

Operation::~Operation() {
    if (refused_) return;
    s_.OperationsRunning = 0;
    // Each is an operation of its own, so one that arrives while it runs is
    // noted again and carried out after it.
    if (std::exchange(s_.ResizeAsked, false)) DataWindowResized(s_);
    if (std::exchange(s_.CloseAsked, false)) RequestExit(s_);
}

void WaitInDialog(EditorState& s, DialogKind kind, BoxOwner owner) {
    const std::uint8_t running = std::exchange(s.OperationsRunning, 0);
    s.UI().openDialog(kind, owner);
    s.OperationsRunning = running;
}

}  // namespace vop
