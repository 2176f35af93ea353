#include "files/settings_file.h"

#include <initializer_list>

namespace vop {
namespace {

// FontCell values above 2 were always drawn as 32-pixel cells, FontType other
// than 0 shows the hex digits, and only a 1 in BlockCaret ever meant the
// block caret: clamp to what showed.
void ClampSettings(Settings& s) {
    if (s.FontCell > 2) s.FontCell = 2;
    if (s.FontType > 1) s.FontType = 1;
    if (s.BlockCaret > 1) s.BlockCaret = 0;
}

std::uint32_t GetColour(const std::uint8_t* in) {
    return static_cast<std::uint32_t>(in[0]) | (static_cast<std::uint32_t>(in[1]) << 8) |
           (static_cast<std::uint32_t>(in[2]) << 16) | (static_cast<std::uint32_t>(in[3]) << 24);
}

void PutColour(std::uint8_t* out, std::uint32_t colour) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(colour >> (8 * i));
}

}  // namespace

void ParseSettings(Settings& settings, const std::uint8_t* bytes, std::size_t count) {
    const auto at = [&](std::size_t i) { return i < count ? bytes[i] : std::uint8_t{0xFF}; };
    settings.FontType = at(0);
    settings.FontCell = at(1);
    settings.BlockCaret = at(2);
    // Half a colour is no colour anyone chose: a colour cut short keeps its old value whole.
    if (count >= 7) settings.ForegroundColor = GetColour(bytes + 3);
    if (count >= 11) settings.BackgroundColor = GetColour(bytes + 7);
    ClampSettings(settings);
}

int LoadSettings(Settings& settings, FileSystem& files, const std::string& path) {
    std::unique_ptr<OpenFile> file = files.open(path, OpenMode::Read);
    if (!file) return 1;
    std::uint8_t bytes[SettingsFileSize] = {};
    std::size_t count = 0;
    // Reads may come back short before the end; extra bytes are never read.
    while (count < SettingsFileSize) {
        const std::size_t got = file->read(bytes + count, SettingsFileSize - count);
        if (got == 0 || got > SettingsFileSize - count) break;
        count += got;
    }
    file->close();
    ParseSettings(settings, bytes, count);
    return 0;
}

int SaveSettings(const Settings& settings, FileSystem& files, const std::string& path) {
    std::unique_ptr<OpenFile> file = files.open(path, OpenMode::Replace);
    if (!file) return 1;
    std::uint8_t bytes[SettingsFileSize];
    bytes[0] = settings.FontType;
    bytes[1] = settings.FontCell;
    bytes[2] = settings.BlockCaret;
    PutColour(bytes + 3, settings.ForegroundColor);
    PutColour(bytes + 7, settings.BackgroundColor);
    const bool written = file->write(bytes, sizeof bytes) == sizeof bytes;
    const bool closed = file->close();
    return written && closed ? 0 : 1;
}

}  // namespace vop
