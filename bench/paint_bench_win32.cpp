// A full repaint of a 1920 x 1080 data window at FontCell 0 in Hex font type
// with a document open, against the floor any drawing pays: one copy of the
// whole area from a memory bitmap. Both are measured on two targets in the
// same run, frames interleaved so that neither gets a quieter machine:
//  - a real window of that client size, each frame a paint request answered
//    in WM_PAINT (so both pay the window system's flush to the screen);
//  - a memory DC of that size.
// (a) is the data window's paint: render the grid into a 32-bit DIB section
// back buffer, then copy it to the target; (b) is the copy alone.
//
// usage: paint_bench FONT_FOLDER [FRAMES]
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "files/real_file_system.h"
#include "state/editor_state.h"
#include "view/glyph_strips.h"
#include "bench/bench_support_win32.h"
#include "view/data_render.h"
#include "view/screen_layout.h"

namespace {

using vop::bench::Median;
using vop::bench::Stopwatch;

constexpr int Width = 1920;
constexpr int Height = 1080;

class FixedSizeUi : public vop::NullUi {
public:
    vop::ClientSize dataClientSize() override { return {Width, Height}; }
};

struct MemoryBitmap {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ original = nullptr;
    std::uint32_t* bits = nullptr;

    bool create(HDC screen) {
        void* p = nullptr;
        bitmap = vop::bench::CreateTopDownDib(screen, Width, Height, &p);
        if (!bitmap) return false;
        dc = CreateCompatibleDC(screen);
        original = SelectObject(dc, bitmap);
        bits = static_cast<std::uint32_t*>(p);
        return true;
    }
    void release() {
        if (dc) {
            SelectObject(dc, original);
            DeleteDC(dc);
        }
        if (bitmap) DeleteObject(bitmap);
        *this = MemoryBitmap{};
    }
};

enum class PaintMode { Full, CopyOnly };

struct Bench {
    vop::EditorState* state = nullptr;
    MemoryBitmap backBuffer;  // what the data window renders into
    MemoryBitmap finished;    // a finished frame: the floor copies from here
    PaintMode mode = PaintMode::Full;
};

Bench* TheBench = nullptr;  // the window procedure's way back to the benchmark

// The data window's full repaint: render into the back buffer, copy the paint rectangle.
void RenderAndCopy(Bench& b, HDC target, const RECT& area) {
    GdiFlush();  // GDI must be done with the DIB section before its bits are written
    vop::PixelSurface surface{b.backBuffer.bits, Width, Height, Width};
    vop::RenderDataWindow(*b.state, surface);
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, b.backBuffer.dc, area.left,
           area.top, SRCCOPY);
}

void CopyFinished(Bench& b, HDC target, const RECT& area) {
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, b.finished.dc, area.left,
           area.top, SRCCOPY);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window, &ps);
            if (dc && TheBench) {
                if (TheBench->mode == PaintMode::Full)
                    RenderAndCopy(*TheBench, dc, ps.rcPaint);
                else
                    CopyFinished(*TheBench, dc, ps.rcPaint);
            }
            EndPaint(window, &ps);
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

void PumpPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// One frame in the window: a paint request for the whole client area, answered at once.
double WindowFrame(Bench& b, HWND window, PaintMode mode) {
    b.mode = mode;
    Stopwatch clock;
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    GdiFlush();
    return clock.milliseconds();
}

double MemoryFrame(Bench& b, HDC target, PaintMode mode) {
    const RECT all{0, 0, Width, Height};
    Stopwatch clock;
    if (mode == PaintMode::Full)
        RenderAndCopy(b, target, all);
    else
        CopyFinished(b, target, all);
    GdiFlush();
    return clock.milliseconds();
}

// A document of three full pages of varied bytes, shown from its start.
void OpenBenchDocument(vop::EditorState& s) {
    s.pages.DocumentPath = "bench.bin";
    s.pages.PageIndex = 0;
    s.pages.FileSize = 3 * vop::PageSize;
    std::uint32_t seed = 12345;
    for (vop::PageBuffer* page : {&s.pages.CurrentPage, &s.pages.NextPage}) {
        page->Bytes.reset(new std::uint8_t[vop::PageSize]);
        page->Length = vop::PageSize;
        for (std::uint32_t i = 0; i < vop::PageSize; ++i) {
            seed = seed * 1103515245u + 12345u;
            page->Bytes[i] = static_cast<std::uint8_t>(seed >> 16);
        }
    }
    s.ScreenPage = vop::PageSlot::Current;
    s.CaretPage = vop::PageSlot::Current;
    s.TopOffset = 0;
    s.CaretOffset = 0;
    s.grid.init(vop::BytesPerRow(s) + vop::AddressCells, vop::ScreenRows(s));
    vop::FillScreenGrid(s);
}

long CountInk(const std::uint32_t* bits, std::uint32_t background) {
    long ink = 0;
    for (long i = 0; i < static_cast<long>(Width) * Height; ++i)
        if ((bits[i] & 0xFFFFFFu) != background) ++ink;
    return ink;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : ".";
    const int frames = argc > 2 ? std::max(1, std::atoi(argv[2])) : 50;

    FixedSizeUi ui;
    auto state = std::make_unique<vop::EditorState>();
    vop::EditorState& s = *state;
    s.files = &vop::RealFileSystem();
    s.ui = &ui;
    if (!vop::bench::LoadRealFonts(s.glyphs, folder)) return 2;
    s.settings.FontCell = 0;
    s.settings.FontType = 1;  // Hex: two digit copies per byte
    vop::BuildGlyphStrips(s.strips, s.glyphs, s.settings.FontCell, s.settings.ForegroundColor,
                          s.settings.BackgroundColor);
    OpenBenchDocument(s);

    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "VopPaintBench";
    RegisterClassA(&wc);

    Bench bench;
    bench.state = &s;
    HDC screen = GetDC(nullptr);
    MemoryBitmap target;
    if (!bench.backBuffer.create(screen) || !bench.finished.create(screen) || !target.create(screen)) {
        std::fprintf(stderr, "cannot create the %d x %d bitmaps\n", Width, Height);
        return 2;
    }
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    ReleaseDC(nullptr, screen);

    // The finished frame is the rendered screen itself, so both ways put the same pixels on the target.
    vop::PixelSurface finishedSurface{bench.finished.bits, Width, Height, Width};
    vop::RenderDataWindow(s, finishedSurface);
    const long ink = CountInk(bench.finished.bits, vop::ColourToPixel(s.settings.BackgroundColor));

    TheBench = &bench;
    HWND window = CreateWindowExA(0, wc.lpszClassName, "Vop paint benchmark", WS_POPUP | WS_VISIBLE, 0, 0, Width,
                                  Height, nullptr, nullptr, instance, nullptr);
    if (!window) {
        std::fprintf(stderr, "cannot create the window (is DISPLAY set?)\n");
        return 2;
    }
    UpdateWindow(window);
    PumpPending();
    RECT client{};
    GetClientRect(window, &client);

    std::printf("screen %d x %d, window client %ld x %ld, grid %d columns x %d rows (%d bytes), %ld ink pixels\n",
                screenWidth, screenHeight, client.right, client.bottom, s.grid.columns, s.grid.rows,
                s.grid.filledCells - s.grid.rows * vop::AddressCells, ink);

    // Warm up every path, then let the window system see the program busy, so
    // each frame's end flushes to the screen inside the timing (an idle
    // program would flush later, outside it).
    for (int i = 0; i < 5; ++i) {
        WindowFrame(bench, window, PaintMode::Full);
        WindowFrame(bench, window, PaintMode::CopyOnly);
        MemoryFrame(bench, target.dc, PaintMode::Full);
        MemoryFrame(bench, target.dc, PaintMode::CopyOnly);
    }
    Sleep(100);

    std::vector<double> windowFull, windowCopy, memoryFull, memoryCopy, renderOnly;
    for (int i = 0; i < frames; ++i) {
        windowFull.push_back(WindowFrame(bench, window, PaintMode::Full));
        windowCopy.push_back(WindowFrame(bench, window, PaintMode::CopyOnly));
        memoryFull.push_back(MemoryFrame(bench, target.dc, PaintMode::Full));
        memoryCopy.push_back(MemoryFrame(bench, target.dc, PaintMode::CopyOnly));
        Stopwatch clock;
        vop::PixelSurface surface{bench.backBuffer.bits, Width, Height, Width};
        vop::RenderDataWindow(s, surface);
        renderOnly.push_back(clock.milliseconds());
    }

    // The window must really show the rendered frame: read it back.
    WindowFrame(bench, window, PaintMode::Full);
    MemoryBitmap check;
    screen = GetDC(nullptr);
    check.create(screen);
    ReleaseDC(nullptr, screen);
    HDC windowDc = GetDC(window);
    BitBlt(check.dc, 0, 0, Width, Height, windowDc, 0, 0, SRCCOPY);
    ReleaseDC(window, windowDc);
    GdiFlush();
    long differences = 0;
    for (long i = 0; i < static_cast<long>(Width) * Height; ++i)
        if ((check.bits[i] & 0xFFFFFFu) != (bench.finished.bits[i] & 0xFFFFFFu)) ++differences;
    for (long i = 0; i < static_cast<long>(Width) * Height; ++i)
        if ((target.bits[i] & 0xFFFFFFu) != (bench.finished.bits[i] & 0xFFFFFFu)) ++differences;

    const double wa = Median(windowFull), wb = Median(windowCopy);
    const double ma = Median(memoryFull), mb = Median(memoryCopy);
    std::printf("median of %d frames, milliseconds:\n", frames);
    std::printf("  window:    (a) full repaint %.3f   (b) one copy %.3f   ratio %.2f   (a) %.0f frames/s\n", wa, wb,
                wb > 0 ? wa / wb : 0.0, wa > 0 ? 1000.0 / wa : 0.0);
    std::printf("  memory DC: (a) full repaint %.3f   (b) one copy %.3f   ratio %.2f   (a) %.0f frames/s\n", ma, mb,
                mb > 0 ? ma / mb : 0.0, ma > 0 ? 1000.0 / ma : 0.0);
    std::printf("  RenderDataWindow alone: %.3f\n", Median(renderOnly));
    std::printf("targets shown as rendered: %s\n", differences == 0 ? "yes" : "NO");
    std::printf("target ratio <= 3 (window): %s; 60 frames/s (window): %s\n", wa <= 3 * wb ? "met" : "MISSED",
                wa > 0 && 1000.0 / wa >= 60 ? "met" : "MISSED");

    std::printf("TABLE|full repaint 1920x1080 Hex FontCell 0 (window)|%.2f ms, %.0f fps|one copy %.2f ms (%.2fx)|<= 3x: %s, >= 60 fps: %s\n",
                wa, wa > 0 ? 1000.0 / wa : 0.0, wb, wb > 0 ? wa / wb : 0.0, wa <= 3 * wb ? "met" : "MISSED",
                wa > 0 && 1000.0 / wa >= 60 ? "met" : "MISSED");
    std::printf("TABLE|full repaint 1920x1080 Hex FontCell 0 (memory DC)|%.2f ms, %.0f fps|one copy %.2f ms (%.2fx)|<= 3x: %s\n",
                ma, ma > 0 ? 1000.0 / ma : 0.0, mb, mb > 0 ? ma / mb : 0.0, ma <= 3 * mb ? "met" : "MISSED");

    TheBench = nullptr;
    DestroyWindow(window);
    check.release();
    target.release();
    bench.backBuffer.release();
    bench.finished.release();
    return differences == 0 ? 0 : 1;
}
