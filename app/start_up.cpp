#include "app/start_up.h"

#include "document/line_index.h"
#include "document/page_loading.h"
#include "files/font_files.h"
#include "files/settings_file.h"

namespace vop {

bool StartUp(EditorState& s, const std::optional<std::string>& programFolder) {
    s.settings.BackgroundColor = 0xFFFFFF;
    s.settings.ForegroundColor = 0x000000;
    if (programFolder) LoadSettings(s.settings, s.Files(), *programFolder + SettingsFileName);

    // Both sets are tried, so a user missing both hears of it twice.
    bool loaded = true;
    const auto load = [&](bool done) {
        if (done) return;
        s.UI().messageBox(BoxOwner::MainWindow, "Unable to load font file!", "Error!", BoxButtons::Ok);
        loaded = false;
    };
    load(programFolder &&
         LoadFontFiles(s.glyphs, s.Files(), *programFolder, "font.fnt", "font1.fnt", "font2.fnt") == 1);
    load(programFolder &&
         LoadDigitFiles(s.glyphs, s.Files(), *programFolder, "digits.fnt", "digits1.fnt", "digits2.fnt") == 1);
    return loaded;
}

void ShutDown(EditorState& s, const std::optional<std::string>& programFolder) {
    ReleasePages(s.pages);
    DiscardLineIndex(s);
    if (programFolder) SaveSettings(s.settings, s.Files(), *programFolder + SettingsFileName);
}

}  // namespace vop
