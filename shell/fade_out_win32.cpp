#include "shell/fade_out_win32.h"

#include "shell/shell_win32.h"
#include "shell/system_calls_win32.h"

namespace vop::shell {
namespace {

// A bitmap of the screen's kind in a memory context of its own.
struct MemoryImage {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;

    MemoryImage(HDC screen, int width, int height)
        : dc(CreateCompatibleDC(screen)), bitmap(CreateCompatibleBitmap(screen, width, height)) {
        if (dc && bitmap) previous = SelectObject(dc, bitmap);
    }
    ~MemoryImage() {
        if (previous) SelectObject(dc, previous);
        if (bitmap) DeleteObject(bitmap);
        if (dc) DeleteDC(dc);
    }
    MemoryImage(const MemoryImage&) = delete;
    MemoryImage& operator=(const MemoryImage&) = delete;
    bool ready() const { return previous != nullptr; }
};

}  // namespace

void FadeOutWindow(HWND window, DWORD stepMilliseconds) {
    RECT r{};
    if (!GetWindowRect(window, &r)) return;
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    if (!screen) return;
    MemoryImage background(screen, w, h), image(screen, w, h), work(screen, w, h);
    if (!background.ready() || !image.ready() || !work.ready()) {
        ReleaseDC(nullptr, screen);
        return;
    }

    // What lies under the window: it steps aside while the windows below repaint.
    MoveWindow(window, 0, 0, 0, 0, FALSE);
    if (DataWindow()) UpdateWindow(DataWindow());
    if (MainWindow()) UpdateWindow(MainWindow());
    BitBlt(background.dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    MoveWindow(window, r.left, r.top, w, h, TRUE);
    ReleaseDC(nullptr, screen);
    // The window itself, frame included, painted again before it is copied.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);

    HDC windowDc = GetWindowDC(window);
    if (!windowDc) return;
    BitBlt(image.dc, 0, 0, w, h, windowDc, 0, 0, SRCCOPY);
    for (int alpha = 0; alpha <= 255; ++alpha) {
        BitBlt(work.dc, 0, 0, w, h, image.dc, 0, 0, SRCCOPY);
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
        late::AlphaBlend(work.dc, 0, 0, w, h, background.dc, 0, 0, w, h, blend);
        BitBlt(windowDc, 0, 0, w, h, work.dc, 0, 0, SRCCOPY);
        PauseShowingDrawing(stepMilliseconds);
    }
    ReleaseDC(window, windowDc);
}

}  // namespace vop::shell
