// The About box's rippling picture: every tick the source's rows are shifted
// sideways and then its columns up and down by a sine table that rotates by
// one entry per tick.
#pragma once

#include <array>
#include <vector>

#include "about/picture.h"

namespace vop {

constexpr int WaveTableSize = 400;  // two periods; covers pictures up to 400 pixels each way

struct WaveAnimation {
    std::array<double, WaveTableSize> table{};  // entry k = 5·sin(k·π/100)
    Picture source;                             // the decoded picture at 32 bits, never changed
    Picture rows;                               // source with every row shifted
    Picture frame;                              // rows with every column shifted: what is shown
    std::vector<ColourValue> line;              // one line's copy, reused by every shift of a tick
};

// Builds the table afresh and takes the decoded picture as the source
// (converted to 32 bits); the frame starts as a copy of it, and the rows,
// a working copy that every tick makes afresh, are left to the first tick.
void StartWave(WaveAnimation& wave, const Picture& decoded);

// One frame: rows from the source, frame from the rows, then the table
// rotates left by one entry. Rows and columns past the table's end take the
// entry of their index modulo its size.
void WaveTick(WaveAnimation& wave);

}  // namespace vop
