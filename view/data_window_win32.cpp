// The data window: decodes its messages for the core and paints the screen
// from a memory bitmap that the core renders into.
#include "view/data_window_win32.h"

#include <commctrl.h>

#include "app/shell_win32.h"
#include "app/shell_windows_win32.h"
#include "view/caret_navigation.h"
#include "view/data_render.h"
#include "view/data_window_input.h"
#include "view/screen_layout.h"

namespace vop::shell {
namespace {

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
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* pixels = nullptr;
        bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
        if (!bitmap) return false;
        dc = CreateCompatibleDC(screen);
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

void Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (!dc) return;
    RECT client{};
    GetClientRect(window, &client);
    BackBuffer& buffer = Buffer();
    if (buffer.ensure(dc, client.right, client.bottom)) {
        GdiFlush();
        PixelSurface surface{buffer.bits, buffer.width, buffer.height, buffer.width};
        RenderDataWindow(Editor(), surface);
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, buffer.dc, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    }
    EndPaint(window, &ps);
}

KeyModifiers CurrentModifiers() {
    KeyModifiers m;
    m.ctrl = GetAsyncKeyState(VK_CONTROL) < 0;
    m.shift = GetAsyncKeyState(VK_SHIFT) < 0;
    m.scrollLock = (GetKeyState(VK_SCROLL) & 1) != 0;
    return m;
}

std::int32_t TrackPosition(HWND window) {
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_TRACKPOS;
    FlatSB_GetScrollInfo(window, SB_VERT, &si);
    return si.nTrackPos;
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
        case WM_SETFOCUS: CreateDataCaret(window); return 0;
        case WM_KILLFOCUS:
            HideCaret(window);
            DestroyCaret();
            return 0;
        case WM_PAINT: Paint(window); return 0;
        case WM_ERASEBKGND: return 1;  // the paint covers every pixel, background included
        case WM_KEYDOWN: DataWindowKeyDown(s, static_cast<int>(wParam), CurrentModifiers()); return 0;
        case WM_CHAR:
            DataWindowChar(s, static_cast<std::uint8_t>(wParam & 0xFF), GetAsyncKeyState(VK_CONTROL) < 0);
            return 0;
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
        default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void CreateDataCaret(HWND window) {
    EditorState& s = Editor();
    const CaretShape shape = DataCaretShape(s.settings);
    CreateCaret(window, nullptr, shape.width, shape.height);
    PlaceCaret(s);
    if (DataCaretVisible(s)) ShowCaret(window);
}

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
