#include "about/about_rules.h"

namespace vop {

bool AboutUsesCurtain(std::int64_t secondsSinceEpoch) {
    // The C runtime's generator: seed, one step, bits 16..30 of the state.
    const std::uint32_t state = static_cast<std::uint32_t>(secondsSinceEpoch) * 214013u + 2531011u;
    const std::uint32_t drawn = (state >> 16) & 0x7FFFu;
    return drawn % 4 == 0;
}

bool PictureShownInverted(ColourValue firstColour, std::uint32_t faceColour) {
    constexpr ColourValue OpaqueWhite = MakeColourValue(0, 255, 255, 255);
    constexpr ColourValue OpaqueBlack = MakeColourValue(0, 0, 0, 0);
    return faceColour != 0 ? firstColour == OpaqueWhite : firstColour == OpaqueBlack;
}

WaveClosing WaveClosingFor(int majorVersion) {
    if (majorVersion >= 6) return WaveClosing::AtOnce;
    return majorVersion == 5 ? WaveClosing::Animate : WaveClosing::FadeOut;
}

bool CurtainFadesOut(int majorVersion) { return majorVersion < 6; }

int PictureLeft(int clientWidth, int pictureWidth) { return (clientWidth - pictureWidth) / 2; }

}  // namespace vop
