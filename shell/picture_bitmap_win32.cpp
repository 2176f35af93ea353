#include "shell/picture_bitmap_win32.h"

#include <vector>

#include "about/picture_dib.h"
#include "shell/shell_win32.h"

namespace vop::shell {
namespace {

// A logical palette of the bitmap's colour table (blue, green, red, 0 each),
// so that a palette screen shows the picture's own colours.
HPALETTE PaletteOfTable(const std::uint8_t* table, int entries) {
    std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<std::size_t>(entries));
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(entries);
    for (int i = 0; i < entries; ++i) {
        const std::uint8_t* entry = table + 4 * i;
        palette->palPalEntry[i] = {entry[2], entry[1], entry[0], 0};
    }
    return CreatePalette(palette);
}

}  // namespace

HBITMAP PictureToBitmap(const Picture& picture, COLORREF background) {
    const std::vector<std::uint8_t> dib = PictureToDib(picture, background);
    if (dib.empty()) return nullptr;
    const int entries = DibColourCount(picture.bitsPerPixel);
    const std::uint8_t* table = dib.data() + DibHeaderSize;
    const std::uint8_t* bits = table + 4 * static_cast<std::size_t>(entries);
    HPALETTE palette = entries != 0 ? PaletteOfTable(table, entries) : nullptr;

    HDC screen = GetDC(MainWindow());
    if (!screen) {
        if (palette) DeleteObject(palette);
        return nullptr;
    }
    HPALETTE previous = palette ? SelectPalette(screen, palette, FALSE) : nullptr;
    if (palette) RealizePalette(screen);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(dib.data());
    HBITMAP bitmap = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, bits, info, DIB_RGB_COLORS);
    if (previous) SelectPalette(screen, previous, FALSE);
    ReleaseDC(MainWindow(), screen);
    if (palette) DeleteObject(palette);
    return bitmap;
}

}  // namespace vop::shell
