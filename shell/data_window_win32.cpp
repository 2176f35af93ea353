// The data window: decodes its messages for the core and paints the screen
// from pixels the core renders.
#include "shell/data_window_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "app/data_window_input.h"
#include "shell/data_accessible_win32.h"
#include "shell/shell_win32.h"
#include "view/data_render.h"
#include "view/glyph_strips.h"
#include "view/screen_layout.h"

namespace vop::shell {
namespace {

BITMAPINFO TopDownBitmap(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// The memory bitmap the screen is rendered into; one per data window.
struct BackBuffer {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    std::uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;

    void release() {
        if (dc) {
            SelectObject(dc, oldBitmap);
            DeleteDC(dc);
        }
        if (bitmap) DeleteObject(bitmap);
        *this = BackBuffer{};
    }

    bool ensure(HDC screen, int w, int h) {
        if (dc && w == width && h == height) return true;
        release();
        if (w <= 0 || h <= 0) return false;
        BITMAPINFO info = TopDownBitmap(w, h);
        void* pixels = nullptr;
        bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
        if (bitmap) dc = CreateCompatibleDC(screen);
        if (!dc) {
            release();
            return false;
        }
        oldBitmap = SelectObject(dc, bitmap);
        bits = static_cast<std::uint32_t*>(pixels);
        width = w;
        height = h;
        return true;
    }
};

BackBuffer& Buffer() {
    static BackBuffer buffer;  // belongs to the one data window, released on its destruction
    return buffer;
}

// Without a memory bitmap (too large, or the system is short of memory) the
// paint goes straight to the window a band of lines at a time, so every
// pixel is still drawn and nothing stale stays on the screen.
void PaintInBands(HDC dc, const RECT& paint, int width) {
    constexpr std::size_t BandPixels = 1u << 20;
    if (width <= 0) return;
    const int bandHeight = std::max(1, static_cast<int>(BandPixels / static_cast<std::size_t>(width)));
    std::vector<std::uint32_t> band(static_cast<std::size_t>(width) * static_cast<std::size_t>(bandHeight));
    for (int top = paint.top; top < paint.bottom; top += bandHeight) {
        const int height = std::min(bandHeight, static_cast<int>(paint.bottom - top));
        PixelSurface surface{band.data(), width, height, width, top};
        RenderDataWindow(Editor(), surface);
        BITMAPINFO info = TopDownBitmap(width, height);
        SetDIBitsToDevice(dc, 0, top, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                          static_cast<UINT>(height), band.data(), &info, DIB_RGB_COLORS);
    }
}

void Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (!dc) return;
    if (ShowsOnlyPaper(Editor())) {  // one fill, no pixels rendered into memory
        HBRUSH paper = CreateSolidBrush(Editor().settings.BackgroundColor & 0xFFFFFF);
        FillRect(dc, &ps.rcPaint, paper);
        DeleteObject(paper);
        EndPaint(window, &ps);
        return;
    }
    RECT client{};
    GetClientRect(window, &client);
    BackBuffer& buffer = Buffer();
    if (buffer.ensure(dc, client.right, client.bottom)) {
        GdiFlush();
        PixelSurface surface{buffer.bits, buffer.width, buffer.height, buffer.width, 0};
        RenderDataWindow(Editor(), surface);
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, buffer.dc, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    } else {
        PaintInBands(dc, ps.rcPaint, client.right);
    }
    EndPaint(window, &ps);
}

// The modifiers as they were when the key was pressed: a busy program reads
// the message after the user has let go of Ctrl or Shift. The character of
// Ctrl+L is handled while the box that Ctrl+L raised ("Sequence not
// found!") is up, when Ctrl may be released already, and must still not be
// typed.
KeyModifiers CurrentModifiers() {
    KeyModifiers m;
    m.ctrl = GetKeyState(VK_CONTROL) < 0;
    m.shift = GetKeyState(VK_SHIFT) < 0;
    m.scrollLock = (GetKeyState(VK_SCROLL) & 1) != 0;
    m.alt = GetKeyState(VK_MENU) < 0;
    return m;
}

std::int32_t TrackPosition(HWND window) {
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_TRACKPOS;
    FlatSB_GetScrollInfo(window, SB_VERT, &si);
    return si.nTrackPos;
}

void CreateDataCaret(HWND window) {
    const CaretShape shape = DataCaretShape(Editor().settings);
    CreateCaret(window, nullptr, shape.width, shape.height);
    DataCaretCreated(Editor());
}

LRESULT CALLBACK DataWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    EditorState& s = Editor();
    switch (message) {
        case WM_CREATE:
            SetDataWindow(window);
            BuildGlyphStrips(s.strips, s.glyphs, s.settings.FontCell, s.settings.ForegroundColor,
                             s.settings.BackgroundColor);
            return 0;
        case WM_DESTROY:
            FreeGlyphStrips(s.strips);
            Buffer().release();
            return 0;
        case WM_SIZE:
            DataWindowResized(s);
            CreateDataCaret(window);
            return 0;
        case WM_SETFOCUS:
            CreateDataCaret(window);
            NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, CHILDID_SELF);
            return 0;
        case WM_KILLFOCUS:
            DestroyCaret();
            DataCaretDestroyed(s);
            return 0;
        case WM_PAINT: Paint(window); return 0;
        case WM_ERASEBKGND: return 1;  // the paint covers every pixel, background included
        case WM_KEYDOWN: DataWindowKeyDown(s, static_cast<int>(wParam), CurrentModifiers()); return 0;
        case WM_CHAR: DataWindowChar(s, static_cast<std::uint8_t>(wParam & 0xFF), CurrentModifiers()); return 0;
        case WM_TIMER: InvertCells(s, s.CaretX, s.CaretY, s.ReplacePatternLength); return 0;
        case WM_VSCROLL: {
            const int request = LOWORD(wParam);
            const bool thumb = request == SB_THUMBTRACK || request == SB_THUMBPOSITION;
            DataWindowScroll(s, request, thumb ? TrackPosition(window) : 0);
            return 0;
        }
        case WM_LBUTTONDOWN: DataWindowClick(s, LOWORD(lParam), HIWORD(lParam)); return 0;
        case WM_LBUTTONDBLCLK: DataWindowDoubleClick(s, LOWORD(lParam), HIWORD(lParam)); return 0;
        case WM_MOUSEWHEEL: DataWindowWheel(s, GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
        case WM_GETOBJECT:
            if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) break;
            return AnswerGetObject(window, wParam);
        case TellReadersMessage: TellReaders(window); return 0;
        default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

// An ANSI window on purpose: a typed character arrives as the byte the
// keyboard's code page gives it, which is the byte Ascii typing writes.
bool RegisterDataWindowClass(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DataWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
    wc.lpszClassName = "VopDataField";
    return RegisterClassA(&wc) != 0;
}

}  // namespace vop::shell
