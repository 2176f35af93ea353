// The data window as screen readers see it. Vop draws its data area itself,
// so the system knows nothing of what it shows: the window answers
// WM_GETOBJECT for its client area with an accessible object of its own
// (Microsoft Active Accessibility, which every Windows screen reader speaks,
// and UI Automation reads through its proxy), and tells readers when the
// words it would say change.
#pragma once

#include <windows.h>

namespace vop::shell {

// WM_GETOBJECT's answer for the client area: an object that asks the core
// for its words at every request, holds nothing that can go away, and
// answers as disconnected once the data window is gone.
LRESULT AnswerGetObject(HWND window, WPARAM flags);

// The core may have changed what a reader would be told (the caret moved, a
// byte or the view changed): once the step that did it has been handled,
// readers learn of it, at most one name and one value change a step.
void ReaderWordsMayHaveChanged();
// The data window's private message for that moment; it carries nothing.
constexpr UINT TellReadersMessage = WM_APP + 3;
void TellReaders(HWND window);

}  // namespace vop::shell
