// The ripple: a sine table of two periods, rotated by one entry per tick,
// gives every row and every column its own sub-pixel shift.
#include "about/wave_animation.h"

#include <algorithm>
#include <cmath>

#include "about/line_shift.h"
#include "about/picture_colours.h"

namespace vop {

void StartWave(WaveAnimation& wave, const Picture& decoded) {
    const double pi = std::acos(-1.0);
    int k = 0;
    for (double& entry : wave.table) entry = 5 * std::sin(k++ * pi / 100);
    CopyPicture(wave.source, decoded);
    // The shifts work at 32 bits; converting once here spares every tick the conversion.
    ToThirtyTwoBits(wave.source);
    CopyPicture(wave.frame, wave.source);
}

void WaveTick(WaveAnimation& wave) {
    auto entry = [&wave](int index) { return wave.table[static_cast<std::size_t>(index % WaveTableSize)]; };
    // Only a picture with pixels has lines to shift: one of width 0 may still claim any number of rows.
    const bool lines = wave.source.holdsPixels();
    CopyPicture(wave.rows, wave.source);
    for (int r = 0; lines && r != wave.rows.height; ++r) ShiftLine(wave.rows, ShiftRight, r, entry(r), wave.line);
    CopyPicture(wave.frame, wave.rows);
    for (int c = 0; lines && c != wave.frame.width; ++c) ShiftLine(wave.frame, ShiftDown, c, entry(c), wave.line);
    std::rotate(wave.table.begin(), wave.table.begin() + 1, wave.table.end());
}

}  // namespace vop
