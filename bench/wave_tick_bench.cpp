// One tick of the About box's ripple (two picture copies, a shift of every row
// and every column) against the 20 ms timer period that drives it. The
// picture is the program's own resources/about.mbm (the path on the command
// line, else beside this source), or when it cannot be read a synthetic one
// like it: 255 x 75 at 8 bits, 67 black entries from opaque to transparent, a
// transparent background with a soft-edged blob in the middle.
// Built natively and for Wine. usage: wave_tick_bench [PICTURE.mbm]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "about/mbm_decoder.h"
#include "about/picture_colours.h"
#include "about/wave_animation.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Ticks = 500;
constexpr double PeriodMs = 20.0;

bool Load(const std::string& path, vop::Picture& picture) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    return vop::DecodeMbm(picture, bytes.data(), bytes.size()) == vop::MbmResult::Decoded;
}

vop::Picture Synthetic() {
    vop::Picture p;
    p.width = 255, p.height = 75, p.bitsPerPixel = 8;
    p.palette.assign(1024, 0);
    for (int i = 0; i < 67; ++i) p.palette[static_cast<std::size_t>(i) * 4] = static_cast<std::uint8_t>(i * 255 / 66);
    p.pixels.assign(255 * 75, 66);
    for (int y = 0; y < 75; ++y)
        for (int x = 0; x < 255; ++x) {
            const double d = std::hypot((x - 127) / 3.0, y - 37.0);  // an ellipse 3 times as wide as high
            if (d < 30) p.pixels[static_cast<std::size_t>(y * 255 + x)] = static_cast<std::uint8_t>(std::max(0.0, d - 20) * 6.6);
        }
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    std::string path = argc > 1 ? argv[1] : std::string(__FILE__);
    if (argc <= 1) path = path.substr(0, path.find_last_of("/\\") + 1) + "../resources/about.mbm";
    vop::Picture decoded;
    const bool own = Load(path, decoded);
    if (!own) decoded = Synthetic();
    std::printf("picture: %s, %d x %d at %d bits\n", own ? path.c_str() : "synthetic (about.mbm not read)", decoded.width,
                decoded.height, decoded.bitsPerPixel);

    vop::WaveAnimation wave;
    vop::StartWave(wave, decoded);
    for (int i = 0; i < 50; ++i) vop::WaveTick(wave);  // warm the caches and the buffers
    std::vector<double> ms;
    std::uint32_t check = 0;
    for (int i = 0; i < Ticks; ++i) {
        const auto start = Clock::now();
        vop::WaveTick(wave);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        check += vop::PixelAt(wave.frame, i % 255, i % 75);
    }
    double mean = 0;
    for (double t : ms) mean += t / Ticks;
    std::sort(ms.begin(), ms.end());
    const double worst = ms.back(), median = ms[Ticks / 2];
    std::printf("wave tick over %d ticks: mean %.3f ms, median %.3f ms, worst %.3f ms (check %u)\n", Ticks, mean, median,
                worst, check % 10);
    std::printf("  mean %.1f%% of the %.0f ms period, worst %.1f%%\n", 100 * mean / PeriodMs, PeriodMs, 100 * worst / PeriodMs);
    std::printf("TABLE|About wave tick, %d x %d|%.3f ms mean, %.3f ms worst|%.3fx the 20 ms period|aim < 2 ms: %s\n",
                decoded.width, decoded.height, mean, worst, mean / PeriodMs, mean < 2.0 ? "yes" : "NO");
    return 0;
}
