// The sub-pixel line shift: a whole-pixel move, then every pixel mixed with
// its neighbour on the side it comes from, weighted by the fraction.
#include "about/line_shift.h"

#include <cmath>
#include <new>

#include "about/picture_colours.h"

namespace vop {
namespace {

std::uint8_t ClampToByte(double v) {
    // fmax passes over a value that is not a number, so a weight that is not
    // a number still gives a byte.
    return static_cast<std::uint8_t>(std::fmin(std::fmax(v, 0.0), 255.0));
}

// Colours that are alike need no arithmetic: most neighbours in a picture with
// a transparent background are the fill value itself.
ColourValue Mix(ColourValue a, ColourValue b, double wa, double wb) {
    if (a == b) return a;
    const ColourValue colours[] = {a, b};
    const double weights[] = {wa, wb};
    return BlendPixels(colours, weights, 2);
}

bool MakeTrueColour(Picture& picture) {
    ToThirtyTwoBits(picture);
    return picture.bitsPerPixel == 32 &&
           picture.pixels.size() >= PixelDataSize(picture.width, picture.height, picture.bitsPerPixel);
}

}  // namespace

ColourValue BlendPixels(const ColourValue* colours, const double* weights, int k) {
    double t = 0, s[4] = {0, 0, 0, 0};
    for (int i = 0; i < k; ++i) {
        const double ti = colours[i] & 0xFF;
        t += weights[i] * ti;
        // A colour counts by its opacity: a fully transparent one lends no colour.
        for (int x = 1; x <= 3; ++x) s[x] += weights[i] * static_cast<double>(colours[i] >> (8 * x) & 0xFF) * (255 - ti);
    }
    const std::uint8_t tOut = ClampToByte(std::trunc(t + 0.5));
    const int opacity = 255 - tOut;
    ColourValue result = tOut;
    if (opacity != 0)
        for (int x = 1; x <= 3; ++x) result |= ColourValue{ClampToByte(std::trunc(s[x] / opacity + 0.5))} << (8 * x);
    return result;
}

void ShiftLine(Picture& picture, int direction, int line, double amount) {
    std::vector<ColourValue> scratch;
    ShiftLine(picture, direction, line, amount, scratch);
}

void ShiftLine(Picture& picture, int direction, int line, double amount, std::vector<ColourValue>& scratch) {
    if (amount == 0.0 || std::isnan(amount) || direction < 0 || direction > 3) return;
    const bool row = direction <= ShiftRight;
    if (line < 0 || line >= (row ? picture.height : picture.width) || !picture.holdsPixels()) return;
    if (amount < 0) {
        amount = -amount;
        direction ^= 1;
    }
    if (!MakeTrueColour(picture)) return;

    // The line as a strided run of 32-bit pixels.
    const auto length = static_cast<std::size_t>(row ? picture.width : picture.height);
    const std::size_t stride = row ? 4 : static_cast<std::size_t>(picture.width) * 4;
    std::uint8_t* const first = picture.pixels.data() + (row ? static_cast<std::size_t>(line) * length * 4
                                                             : static_cast<std::size_t>(line) * 4);
    try {
        scratch.resize(length);
    } catch (const std::bad_alloc&) {
        return;
    }
    for (std::size_t i = 0; i < length; ++i) scratch[i] = LoadColour(first + i * stride);

    // A move of the whole length or more leaves only the fill value, which
    // mixed with itself stays as it is.
    const bool whole = amount >= static_cast<double>(length);
    const auto n = whole ? length : static_cast<std::size_t>(std::floor(amount));
    const double f = whole ? 0.0 : amount - std::floor(amount);
    if (direction == ShiftLeft || direction == ShiftUp) {
        // Pixel i comes from i + n and is mixed with the one after it.
        auto moved = [&](std::size_t i) { return i + n < length ? scratch[i + n] : FillValue; };
        for (std::size_t i = 0; i < length; ++i) StoreColour(first + i * stride, Mix(moved(i), moved(i + 1), 1 - f, f));
    } else {
        // Pixel i comes from i − n and is mixed with the one before it.
        auto moved = [&](std::size_t i) { return i >= n ? scratch[i - n] : FillValue; };
        for (std::size_t i = 0; i < length; ++i)
            StoreColour(first + i * stride, Mix(i == 0 ? FillValue : moved(i - 1), moved(i), f, 1 - f));
    }
}

}  // namespace vop
