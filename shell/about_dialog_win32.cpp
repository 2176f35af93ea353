#include "shell/about_dialog_win32.h"

#include <mmsystem.h>
#include <shellapi.h>

#include <ctime>
#include <string>

#include "about/about_picture.h"
#include "about/about_rules.h"
#include "about/picture_colours.h"
#include "about/wave_animation.h"
#include "resources/resource_ids.h"
#include "shell/fade_out_win32.h"
#include "shell/picture_bitmap_win32.h"
#include "shell/shell_win32.h"
#include "shell/system_calls_win32.h"

namespace vop::shell {
namespace {

constexpr UINT_PTR WaveTimerId = 4001;
constexpr UINT WavePeriodMs = 20;
// Rows of the client area, laid out for base units of 6 × 13 pixels and
// moved with the dialog's own (DialogPoint), as the OK button moves.
constexpr int CurtainPictureTop = 28;
constexpr int WavePictureTop = 25;
constexpr int UnanimatedBottomRows = 50;  // the OK button's band is never repainted by the wave
constexpr DWORD CurtainStepMs = 640;
constexpr const char* HelpPageName = "VopHelp.html";

// The pictures of one About box; they live as long as the dialog.
struct AboutBox {
    bool curtain = false;
    Picture still;       // the curtain's picture as decoded, inverted at most once
    WaveAnimation wave;  // the wave's source, working rows and shown frame
};

int DialogRow(HWND dialog, int y) { return DialogPoint(dialog, 0, y).y; }

AboutBox* BoxOf(HWND dialog) { return reinterpret_cast<AboutBox*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

// The picture resource, with its size so that the decoder never reads past
// it. A picture that is broken, or larger than the wave covers, leaves the
// box without one.
void LoadPicture(Picture& picture) {
    HRSRC found = FindResourceA(AppInstance(), MAKEINTRESOURCEA(IDR_ABOUT_PICTURE), "MBM");
    if (!found) return;
    const DWORD size = SizeofResource(AppInstance(), found);
    HGLOBAL loaded = LoadResource(AppInstance(), found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (bytes) LoadAboutPicture(picture, static_cast<const std::uint8_t*>(bytes), size);
}

void Open(HWND dialog, AboutBox& box) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&box));
    CenterOverMainWindow(dialog);
    if (box.curtain) {
        LoadPicture(box.still);
        return;
    }
    Picture decoded;
    LoadPicture(decoded);
    StartWave(box.wave, decoded);
    SetTimer(dialog, WaveTimerId, WavePeriodMs, nullptr);
}

ColourValue FirstColour(const Picture& picture, bool curtain) {
    if (curtain && picture.hasPalette()) return PaletteEntry(picture, 0);
    return picture.holdsPixels() ? PixelAt(picture, 0, 0) : 0xFFFFFFFFu;
}

void Paint(HWND dialog, AboutBox& box) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(dialog, &ps);
    Picture& shown = box.curtain ? box.still : box.wave.frame;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    if (PictureShownInverted(FirstColour(shown, box.curtain), face)) AdjustColors(shown, InvertColours);
    if (HBITMAP bitmap = PictureToBitmap(shown, face)) {
        RECT client{};
        GetClientRect(dialog, &client);
        const Picture& size = box.curtain ? box.still : box.wave.source;
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        const int top = DialogRow(dialog, box.curtain ? CurtainPictureTop : WavePictureTop);
        BitBlt(dc, PictureLeft(client.right, size.width), top, size.width, size.height, memory, 0, 0, SRCCOPY);
        SelectObject(memory, previous);
        DeleteDC(memory);
        DeleteObject(bitmap);
    }
    EndPaint(dialog, &ps);
}

void Tick(HWND dialog, AboutBox& box) {
    WaveTick(box.wave);
    RECT band{};
    GetClientRect(dialog, &band);
    band.bottom -= DialogRow(dialog, UnanimatedBottomRows);
    InvalidateRect(dialog, &band, FALSE);
}

// The sounds are files beside the program that are not shipped: without
// them the box stays silent.
void PlayStep(const char* sound) {
    if (const auto folder = ProgramFolder())
        late::PlaySoundW(Wide(*folder + sound).c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

int SystemMajorVersion() { return LOBYTE(LOWORD(GetVersion())); }

void FillBand(HWND dialog, HBRUSH brush, int top, int bottom) {
    RECT client{};
    GetClientRect(dialog, &client);
    HDC dc = GetDC(dialog);
    HGDIOBJ previous = SelectObject(dc, brush);
    PatBlt(dc, 0, top, client.right, bottom - top, PATCOPY);
    SelectObject(dc, previous);
    ReleaseDC(dialog, dc);
}

// The curtain falls over the picture in three bands, then takes the button's
// text, each step with its sound and a pause.
void CloseUnderCurtain(HWND dialog) {
    HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    SetWindowTextA(dialog, "");
    PlayStep("13");
    PauseShowingDrawing(CurtainStepMs);
    const int bands[][2] = {{0, 50}, {50, 75}, {75, 100}};
    for (const auto& band : bands) {
        FillBand(dialog, face, DialogRow(dialog, band[0]), DialogRow(dialog, band[1]));
        PlayStep("13");
        PauseShowingDrawing(CurtainStepMs);
    }
    HWND ok = GetDlgItem(dialog, IDOK);
    SetWindowTextA(ok, "");
    UpdateWindow(ok);  // seen empty during the pause, though no messages are handled in it
    PlayStep("13");
    PauseShowingDrawing(CurtainStepMs);
    PlayStep("15");
    DeleteObject(face);
    if (CurtainFadesOut(SystemMajorVersion())) FadeOutWindow(dialog, 7);
    PauseShowingDrawing(200);
    EndDialog(dialog, 1);
}

void CloseWave(HWND dialog) {
    switch (WaveClosingFor(SystemMajorVersion())) {
        case WaveClosing::AtOnce: break;
        case WaveClosing::Animate:
            ShowWindow(GetDlgItem(dialog, IDOK), SW_HIDE);
            AnimateWindow(dialog, 1500, AW_HIDE | AW_BLEND);
            break;
        case WaveClosing::FadeOut:
            FadeOutWindow(dialog, 4);
            PauseShowingDrawing(150);
            break;
    }
    EndDialog(dialog, 1);
}

// The product's page: a short help page beside the program.
void OpenHelpPage(HWND dialog) {
    const auto folder = ProgramFolder();
    if (!folder) return;
    const std::wstring page = Wide(*folder + HelpPageName);
    if (reinterpret_cast<INT_PTR>(late::ShellExecuteW(dialog, nullptr, page.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) <= 32)
        MessageBeep(MB_ICONWARNING);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    AboutBox* box = BoxOf(dialog);
    switch (message) {
        case WM_INITDIALOG: Open(dialog, *reinterpret_cast<AboutBox*>(lParam)); return TRUE;
        case WM_PAINT:
            if (!box) return FALSE;
            Paint(dialog, *box);
            return TRUE;
        case WM_TIMER:
            if (box && wParam == WaveTimerId && !box->curtain) Tick(dialog, *box);
            return TRUE;
        case WM_COMMAND:
            // Only OK: Esc's Cancel does nothing.
            if (box && wParam == IDOK) box->curtain ? CloseUnderCurtain(dialog) : CloseWave(dialog);
            return TRUE;
        case WM_SETCURSOR:
            // The whole surface, but not the button, is a link to the help page.
            if (reinterpret_cast<HWND>(wParam) != dialog || LOWORD(lParam) != HTCLIENT) return FALSE;
            SetCursor(LoadCursor(nullptr, IDC_HAND));
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case WM_LBUTTONUP: OpenHelpPage(dialog); return TRUE;
        case WM_CLOSE: EndDialog(dialog, 1); return TRUE;
        case WM_DESTROY:
            KillTimer(dialog, WaveTimerId);
            if (box) {
                EmptyPicture(box->still);
                EmptyPicture(box->wave.source);
                EmptyPicture(box->wave.rows);
                EmptyPicture(box->wave.frame);
            }
            return FALSE;
        default: return FALSE;
    }
}

}  // namespace

void RunAboutDialog(HWND owner) {
    AboutBox box;
    box.curtain = AboutUsesCurtain(static_cast<std::int64_t>(std::time(nullptr)));
    DialogBoxParamA(AppInstance(), "AboutDialog", owner, AboutDialogProc, reinterpret_cast<LPARAM>(&box));
}

}  // namespace vop::shell
