#include "app/settings.h"

#include <cstdio>
#include <filesystem>
#include <initializer_list>

namespace vop {

void ClampSettings(Settings& s) {
    // A truncated file yields 0xFF bytes. FontCell values above 2 were always
    // drawn as 32-pixel cells, FontType other than 0 shows the hex digits, and
    // only a 1 in BlockCaret ever meant the block caret: clamp to what showed.
    if (s.FontCell > 2) s.FontCell = 2;
    if (s.FontType > 1) s.FontType = 1;
    if (s.BlockCaret > 1) s.BlockCaret = 0;
}

int LoadSettings(Settings& settings, const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return 1;
    settings.FontType = static_cast<std::uint8_t>(std::fgetc(f));
    settings.FontCell = static_cast<std::uint8_t>(std::fgetc(f));
    settings.BlockCaret = static_cast<std::uint8_t>(std::fgetc(f));
    // A colour cut short by the end of the file keeps its old value whole:
    // half a colour is no colour anyone chose.
    for (std::uint32_t* colour : {&settings.ForegroundColor, &settings.BackgroundColor}) {
        unsigned char bytes[4];
        if (std::fread(bytes, 1, 4, f) == 4)
            *colour = static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
                      (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
    }
    std::fclose(f);
    ClampSettings(settings);
    return 0;
}

namespace {
bool IsReadOnlyFile(const std::string& path) {
    std::error_code ec;
    const auto st = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(st)) return false;
    return (st.permissions() & std::filesystem::perms::owner_write) == std::filesystem::perms::none;
}

void PutColour(unsigned char* out, std::uint32_t colour) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<unsigned char>(colour >> (8 * i));
}
}  // namespace

int SaveSettings(const Settings& settings, const std::string& path) {
    // A read-only settings file is the user's way to pin the settings: it is
    // read at start-up and left alone at exit, even for an administrator.
    if (IsReadOnlyFile(path)) return 1;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 1;
    unsigned char bytes[11];
    bytes[0] = settings.FontType;
    bytes[1] = settings.FontCell;
    bytes[2] = settings.BlockCaret;
    PutColour(bytes + 3, settings.ForegroundColor);
    PutColour(bytes + 7, settings.BackgroundColor);
    const bool written = std::fwrite(bytes, 1, sizeof bytes, f) == sizeof bytes;
    const bool closed = std::fclose(f) == 0;
    return written && closed ? 0 : 1;
}

}  // namespace vop
