// Holding Page Down from the first to the last screen of a 2 GiB file, with a
// window system that does nothing: how many screens and how many page-window
// shifts per second the core manages. The file is sparse, so the disk costs
// little and the figure is the core's own (grid refills, page reads, shifts).
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/real_file_system.h"
#include "state/editor_state.h"
#include "view/document_view.h"
#include "view/caret_navigation.h"
#include "app/data_window_input.h"
#include "view/screen_layout.h"

namespace {

class QuietUi : public vop::NullUi {
public:
    vop::ClientSize client{1920, 1080};
    vop::ClientSize dataClientSize() override { return client; }
};

struct Result {
    int bytesPerRow = 0;
    int rows = 0;
    long screens = 0;
    long shifts = 0;
    double seconds = 0;
};

Result HoldPageDown(const std::string& path, vop::ClientSize client, std::uint8_t fontCell) {
    QuietUi ui;
    ui.client = client;
    vop::EditorState s;
    s.files = &vop::RealFileSystem();
    s.ui = &ui;
    s.settings.FontCell = fontCell;
    Result r;
    if (vop::OpenDocument(s, path, 0) != vop::LoadOutcome::Loaded) return r;
    r.bytesPerRow = vop::BytesPerRow(s);
    r.rows = vop::ScreenRows(s);
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        const std::int32_t top = s.TopOffset;
        const std::uint32_t page = s.pages.PageIndex;
        vop::DataWindowKeyDown(s, vop::Key::PageDown, {});
        if (s.TopOffset == top && s.pages.PageIndex == page) break;
        ++r.screens;
        if (s.pages.PageIndex != page) ++r.shifts;
    }
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    // A folder of our own, so that nothing else touches the file meanwhile.
    std::string dir = (std::filesystem::path(argc > 1 ? argv[1] : std::filesystem::temp_directory_path().string()) /
                       "vop-page-down-XXXXXX")
                          .string();
    if (!mkdtemp(dir.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string path = dir + "/two_gib.bin";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
    }
    std::filesystem::resize_file(path, 0x80000000ull);

    struct Case {
        const char* name;
        vop::ClientSize client;
        std::uint8_t fontCell;
    } cases[] = {
        {"1920x1080 cold", {1920, 1080}, 0},  // the first pass also fills the system's file cache
        {"1920x1080 Normal", {1920, 1080}, 0},
        {"2560x1400 Normal", {2560, 1400}, 0},
        {"800x600 Normal", {800, 600}, 0},
        {"800x600 Quad", {800, 600}, 2},
    };
    std::printf("Page Down held from start to end of a 2 GiB file\n");
    for (const Case& c : cases) {
        const Result r = HoldPageDown(path, c.client, c.fontCell);
        std::printf("%-17s %3d x %4d: %9ld screens %6ld shifts %7.2f s  %10.0f screens/s %8.0f shifts/s\n", c.name,
                    r.bytesPerRow, r.rows, r.screens, r.shifts, r.seconds, r.screens / r.seconds,
                    r.shifts / r.seconds);
    }
    std::filesystem::remove_all(dir);
    return 0;
}
