// The About box's choices that are not drawing: which of its two procedures
// runs, whether the picture is shown inverted, and how each one closes on
// the system it runs on.
#pragma once

#include <cstdint>

#include "about/picture.h"

namespace vop {

// The random generator seeded with the time in whole seconds, one number
// drawn: one time in four the still picture with the curtain, otherwise the
// wave. Two About commands within the same second show the same procedure.
bool AboutUsesCurtain(std::int64_t secondsSinceEpoch);

// A picture whose first colour is opaque white would vanish on a light face,
// and one whose first colour is opaque black on a black face; such a picture
// is shown inverted. `faceColour` is a platform colour reference, 0x00BBGGRR.
bool PictureShownInverted(ColourValue firstColour, std::uint32_t faceColour);

// How the wave dialog goes away: at once on current systems, blended out by
// the window system on version 5, faded by hand before that.
enum class WaveClosing { AtOnce, Animate, FadeOut };
WaveClosing WaveClosingFor(int majorVersion);

// The curtain fades the dialog out only before version 6.
bool CurtainFadesOut(int majorVersion);

// Left edge that centres a picture in a client area, truncated toward zero.
int PictureLeft(int clientWidth, int pictureWidth);

}  // namespace vop
