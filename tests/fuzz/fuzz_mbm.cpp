// The MBM decoder on any bytes: it reads nothing past the data and allocates
// within its cap; a refusal leaves the picture as it was (bad signature) or
// empty; a decoded picture's buffers match its size, and every operation on
// it stays within them, whatever its size (a width of 0 with rows, say). The
// inversion twice restores it, and the conversion to 32 bits keeps every
// pixel's colour.
#include "about/line_shift.h"
#include "about/mbm_decoder.h"
#include "about/picture_colours.h"
#include "about/picture_dib.h"
#include "fuzz_support.h"

using namespace vop;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Picture p{1, 1, 8, {}, {7}};
    int result = DecodeMbm(p, data, size);
    Require(result >= 0 && result <= 6);
    Require(result == 0 ||
            p.pixels.size() == (result == 1 ? 1u : 0u));
    // The rest runs over every pixel several times: kept quick.
    if (result != 0 || p.pixels.size() > (1u << 18))
        return 0;
    Require(p.pixels.size() ==
            PixelDataSize(p.width, p.height, p.bitsPerPixel));

    Picture copy;
    CopyPicture(copy, p);
    AdjustColors(copy, InvertColours);
    AdjustColors(copy, InvertColours);
    Require(copy.pixels == p.pixels &&
            copy.palette == p.palette);
    PictureToDib(p, 0x332211);
    ToThirtyTwoBits(copy);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            Require(PixelAt(copy, x, y) == PixelAt(p, x, y));
    // A few shifts, their lines and amounts from the body's first bytes.
    for (size_t i = 12; i + 1 < size && i < 20; i += 2)
        ShiftLine(p, data[i] & 3, data[i] >> 2,
                  static_cast<int8_t>(data[i + 1]) / 16.0);
    return 0;
}
