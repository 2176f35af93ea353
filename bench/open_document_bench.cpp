// Opening a 2 GiB file against opening a 1 KiB file: the cost must not grow
// with the file's size (at most three pages are read, whatever the size).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "files/real_file_system.h"
#include "state/editor_state.h"
#include "view/document_view.h"

namespace {

using Clock = std::chrono::steady_clock;

// Does nothing, like the null window system, but has a full-screen data window
// so that the screen grid is laid out and filled as in the real program.
class BenchUi : public vop::NullUi {
public:
    vop::ClientSize dataClientSize() override { return {1920, 1080}; }
};

double MicrosecondsPerOpen(vop::EditorState& s, const std::string& path, std::uint32_t page, int count) {
    const auto t0 = Clock::now();
    for (int i = 0; i < count; ++i) {
        if (vop::OpenDocument(s, path, page) != vop::LoadOutcome::Loaded) std::exit(1);
    }
    return std::chrono::duration<double, std::micro>(Clock::now() - t0).count() / count;
}

}  // namespace

int main() {
    std::string folder = (std::filesystem::temp_directory_path() / "vop-bench-XXXXXX").string();
    if (!mkdtemp(folder.data())) return 1;
    const std::string small = folder + "/small.bin";
    const std::string huge = folder + "/huge.bin";
    const std::string threePages = folder + "/three-pages.bin";
    {
        std::ofstream out(small, std::ios::binary);
        std::vector<char> bytes(1024, 'x');
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    {
        std::ofstream out(threePages, std::ios::binary);
        std::vector<char> bytes(3 * vop::PageSize, 'y');
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    { std::ofstream out(huge, std::ios::binary); }
    std::filesystem::resize_file(huge, vop::MaxFileSize);

    BenchUi ui;
    vop::EditorState s;
    s.files = &vop::RealFileSystem();
    s.ui = &ui;
    constexpr int Count = 2000, Rounds = 9;
    std::vector<double> smallTimes, hugeTimes, lastPageTimes, threeTimes, hugeMiddleTimes;
    MicrosecondsPerOpen(s, small, 0, 200);  // warm up
    MicrosecondsPerOpen(s, huge, 0, 200);
    for (int r = 0; r < Rounds; ++r) {
        smallTimes.push_back(MicrosecondsPerOpen(s, small, 0, Count));
        hugeTimes.push_back(MicrosecondsPerOpen(s, huge, 0, Count));
        lastPageTimes.push_back(MicrosecondsPerOpen(s, huge, 32767, Count));
        threeTimes.push_back(MicrosecondsPerOpen(s, threePages, 1, Count));
        hugeMiddleTimes.push_back(MicrosecondsPerOpen(s, huge, 16384, Count));
    }
    for (auto* v : {&smallTimes, &hugeTimes, &lastPageTimes, &threeTimes, &hugeMiddleTimes})
        std::sort(v->begin(), v->end());
    const double a = smallTimes[Rounds / 2], b = hugeTimes[Rounds / 2], c = lastPageTimes[Rounds / 2];
    const double d = threeTimes[Rounds / 2], e = hugeMiddleTimes[Rounds / 2];
    std::printf("OpenDocument, median of %d rounds of %d opens, 1920x1080 data window:\n", Rounds, Count);
    std::printf("  1 KiB file, page 0:           %8.2f us\n", a);
    std::printf("  2 GiB file, page 0:           %8.2f us  (ratio %.2f)\n", b, b / a);
    std::printf("  2 GiB file, last page 32767:  %8.2f us  (ratio %.2f)\n", c, c / a);
    std::printf("  Three pages read in both (the most an open reads):\n");
    std::printf("  192 KiB file, page 1:         %8.2f us\n", d);
    std::printf("  2 GiB file, page 16384:       %8.2f us  (ratio %.2f)\n", e, e / d);
    std::printf("  pages held after opening the 2 GiB file: %d (FileSize %u)\n",
                int(s.pages.PrevPage.present()) + int(s.pages.CurrentPage.present()) + int(s.pages.NextPage.present()),
                s.pages.FileSize);
    std::filesystem::remove_all(folder);
    return 0;
}
