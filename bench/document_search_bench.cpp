// The search of the open document over real, cached files, through the
// program's own file layer, against floors measured in the same run:
//  - a 2 GiB file of random bytes whose only occurrence of a 16-byte pattern
//    is its last 16 bytes: the search against reading the file in the same
//    chunks, and (with --grep, natively) against `grep -c -F -a`;
//  - replace-all on a 64 MiB file holding a 4-byte sequence every 64 bytes,
//    the first save question answered Yes: against one plain read and write
//    of the file;
//  - replace-all on a 2 GiB file holding a 4-byte sequence at the start of
//    every page (32,768 of them), timed from the first Yes to the count:
//    against reading and writing the file in place in the same chunks.
// Built natively and for Wine. usage: document_search_bench FOLDER [--grep | --chunks | --replace-only]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "files/real_file_system.h"
#include "search/find_replace.h"
#include "search/sequence_search.h"
#include "state/editor_state.h"
#include "view/caret_navigation.h"
#include "view/document_view.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint64_t TwoGiB = 0x80000000ull;
constexpr std::size_t Chunk = 512 * 1024;
const char Needle[] = "Vop~needle~2GiB!";  // 16 bytes, no line feed, so grep counts one line

double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

// The window system of a user who answers Yes to every question, with a real
// clock; it notes when the first question was answered and when the last box
// showed.
class BenchUi : public vop::NullUi {
public:
    std::string lastText;
    Clock::time_point firstYes{}, lastBox{};
    vop::BoxAnswer messageBox(vop::BoxOwner, const std::string& text, const std::string&, vop::BoxButtons b) override {
        lastText = text;
        lastBox = Clock::now();
        if (b == vop::BoxButtons::Ok) return vop::BoxAnswer::Ok;
        if (firstYes == Clock::time_point{}) firstYes = lastBox;
        return vop::BoxAnswer::Yes;
    }
    std::uint64_t milliseconds() override {
        return static_cast<std::uint64_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count());
    }
};

void Fail(const char* what) {
    std::printf("failed: %s\n", what);
    std::exit(1);
}

// Random bytes (neither `avoid` nor `avoid` ^ 1), and `every` bytes the marker
// when given.
void WriteFile(const std::string& path, std::uint64_t size, const char* marker, std::size_t every, int avoid) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) Fail("cannot write the test file");
    std::vector<unsigned char> block(1 << 22);
    std::uint64_t x = 88172645463325252ull;
    const std::size_t markerLength = marker ? std::strlen(marker) : 0;
    for (std::uint64_t done = 0; done < size;) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), size - done));
        for (std::size_t i = 0; i < n; ++i) {
            x ^= x << 13, x ^= x >> 7, x ^= x << 17;
            unsigned char b = static_cast<unsigned char>(x >> 32);
            if ((b | 1) == (avoid | 1)) b ^= 2;
            block[i] = b;
        }
        if (marker)
            for (std::size_t i = 0; i < n; i += every) std::memcpy(&block[i], marker, markerLength);
        if (std::fwrite(block.data(), 1, n, f) != n) Fail("short write");
        done += n;
    }
    std::fclose(f);
}

// Reading the whole file in the search's chunks: the floor of any search.
double ReadOnly(const std::string& path, std::size_t size = Chunk) {
    const auto start = Clock::now();
    auto file = vop::RealFileSystem().open(path, vop::OpenMode::Read);
    if (!file) Fail("cannot read");
    std::vector<std::uint8_t> chunk(size);
    std::uint64_t total = 0;
    for (std::size_t got; (got = file->read(chunk.data(), chunk.size())) > 0;) total += got + chunk[got - 1] % 2;
    file->close();
    const auto end = Clock::now();
    if (total == 0) Fail("empty file");
    return Seconds(start, end);
}

double ReadAndWrite(const std::string& path, std::size_t unit = Chunk) {
    const auto start = Clock::now();
    auto file = vop::RealFileSystem().open(path, vop::OpenMode::Update);
    if (!file) Fail("cannot open for update");
    std::vector<std::uint8_t> chunk(unit);
    for (std::uint64_t at = 0;; at += unit) {
        file->seek(at);
        const std::size_t got = file->read(chunk.data(), chunk.size());
        if (got == 0) break;
        file->seek(at);
        if (file->write(chunk.data(), got) != got) Fail("short write");
    }
    file->close();
    return Seconds(start, Clock::now());
}

template <class F>
double Best(int runs, F f) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) best = std::min(best, f());
    return best;
}

// An editor on the real file layer with `path` open, as each case starts.
struct OpenEditor {
    BenchUi ui;
    vop::EditorState s;
    OpenEditor(const std::string& path, const char* refusal) {
        s.ui = &ui;
        s.files = &vop::RealFileSystem();
        if (vop::OpenDocument(s, path, 0) != vop::LoadOutcome::Loaded) Fail(refusal);
    }
};

double Search(const std::string& path) {
    OpenEditor editor(path, "cannot open the 2 GiB file");
    vop::EditorState& s = editor.s;
    const auto start = Clock::now();
    const int result = vop::SearchSequence(s, reinterpret_cast<const std::uint8_t*>(Needle), 16, vop::BoxOwner::MainWindow);
    const auto end = Clock::now();
    if (result != 1 || vop::CaretAddress(s) != TwoGiB - 16) Fail("the search did not find the pattern at the end");
    return Seconds(start, end);
}

// Overwriting with copy_file fails on some Windows runtimes: remove first.
void CopyFresh(const std::string& from, const std::string& to) {
    std::filesystem::remove(to);
    std::filesystem::copy_file(from, to);
}

double ReplaceAll(const std::string& path, const std::string& pristine) {
    CopyFresh(pristine, path);
    OpenEditor editor(path, "cannot open the 64 MiB file");
    vop::EditorState& s = editor.s;
    BenchUi& ui = editor.ui;
    const std::uint8_t from[] = {'A', 'B', 'C', 'D'}, to[] = {'w', 'x', 'y', 'z'};
    const auto start = Clock::now();
    vop::ReplaceAll(s, from, to, 4);
    const auto end = Clock::now();
    if (ui.lastText != "Replaced 1048576 occurances") Fail(("replace-all said: " + ui.lastText).c_str());
    return Seconds(start, end);
}

// Replace-all of the 32,768 page starts of the 2 GiB file, from the first Yes
// to the count. The runs turn "ABCD" into "@BCD" and back, so the file needs
// no fresh copy; the random bytes hold neither 'A' nor '@'.
double ReplacePageStarts(const std::string& path) {
    OpenEditor editor(path, "cannot open the 2 GiB file");
    vop::EditorState& s = editor.s;
    BenchUi& ui = editor.ui;
    const std::uint8_t upper[] = {'A', 'B', 'C', 'D'}, lower[] = {'@', 'B', 'C', 'D'};
    const bool forth = s.pages.CurrentPage.Bytes[0] == 'A';
    vop::ReplaceAll(s, forth ? upper : lower, forth ? lower : upper, 4);
    if (ui.lastText != "Replaced 32768 occurances") Fail(("replace-all said: " + ui.lastText).c_str());
    if (s.Modified) Fail("replace-all left changes unsaved");
    return Seconds(ui.firstYes, ui.lastBox);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) Fail("usage: document_search_bench FOLDER [--grep | --chunks | --replace-only]");
    const std::string folder = argv[1];
    const std::string option = argc > 2 ? argv[2] : "";
    const bool grep = option == "--grep";
    const std::string big = folder + "/search-2g.bin";
    std::error_code ignored;
    if (option != "--replace-only") {
    if (std::filesystem::file_size(big, ignored) != TwoGiB) {
        WriteFile(big, TwoGiB - 16, nullptr, 0, -1);
        std::FILE* f = std::fopen(big.c_str(), "ab");
        if (!f || std::fwrite(Needle, 1, 16, f) != 16) Fail("cannot append the pattern");
        std::fclose(f);
    }
    ReadOnly(big);  // into the cache
    // Interleaved, so that both meet the same state of the cache and the clock.
    double read = 1e30, search = 1e30;
    for (int run = 0; run < 5; ++run) {
        read = std::min(read, ReadOnly(big));
        search = std::min(search, Search(big));
    }
    std::printf("2 GiB, pattern at the end: search %.3f s (%.2f GB/s), plain read in %zu KiB chunks %.3f s: %.2fx\n",
                search, 2.147 / search, Chunk / 1024, read, search / read);
    std::printf("TABLE|search 2 GiB vs reading it|%.3f s|%.2fx the plain read|aim <= 1.3x under Wine\n", search,
                search / read);
    // What a read costs by its size, for the search's choice of chunk (its
    // memory stays at most 1 MiB).
    if (option == "--chunks")
        for (std::size_t size : {std::size_t{128} << 10, std::size_t{256} << 10, Chunk, std::size_t{1} << 20})
            std::printf("plain read of 2 GiB in %4zu KiB chunks: %.3f s\n", size >> 10,
                        Best(3, [&] { return ReadOnly(big, size); }));
    if (grep) {
        std::FILE* p = std::fopen((folder + "/needle.txt").c_str(), "wb");
        std::fputs(Needle, p);
        std::fclose(p);
        const std::string command = "grep -c -F -a -f '" + folder + "/needle.txt' '" + big + "' > /dev/null";
        const double g = Best(3, [&] {
            const auto a = Clock::now();
            if (std::system(command.c_str()) != 0) Fail("grep found nothing");
            return Seconds(a, Clock::now());
        });
        std::printf("grep -c -F -a %.3f s: the search takes %.2fx grep's time\n", g, search / g);
        std::printf("TABLE|search 2 GiB vs grep -c -F -a|%.3f s|%.2fx grep (%.3f s)|aim <= 1.25x\n", search,
                    search / g, g);
    }
    }

    const std::string pristine = folder + "/replace-64m.orig", work = folder + "/replace-64m.bin";
    WriteFile(pristine, 64ull << 20, "ABCD", 64, 'A');
    CopyFresh(pristine, work);
    const double plain = Best(3, [&] { return ReadAndWrite(work); });
    const double replace = Best(3, [&] { return ReplaceAll(work, pristine); });
    std::printf("replace-all, 1,048,576 occurrences in 64 MiB: %.3f s; one read and write of the file %.3f s: %.2fx\n",
                replace, plain, replace / plain);
    std::printf("TABLE|replace-all 64 MiB (1,048,576 hits)|%.3f s|%.2fx a read+write|aim <= 3x\n", replace,
                replace / plain);
    std::filesystem::remove(pristine, ignored);
    std::filesystem::remove(work, ignored);

    // Made once and kept beside the search's file; each run leaves it whole.
    const std::string pages = folder + "/replace-2g.bin";
    if (std::filesystem::file_size(pages, ignored) != TwoGiB) WriteFile(pages, TwoGiB, "ABCD", vop::PageSize, 'A');
    ReadOnly(pages);  // into the cache
    // Interleaved, so that both meet the same write-back of the cache.
    // Also against the same read and write a page at a time: the unit the
    // run's three pages of memory allow it.
    double pagesPlain = 1e30, pagesReplace = 1e30, pagesByPage = 1e30;
    for (int run = 0; run < 3; ++run) {
        pagesPlain = std::min(pagesPlain, ReadAndWrite(pages));
        pagesReplace = std::min(pagesReplace, ReplacePageStarts(pages));
        pagesByPage = std::min(pagesByPage, ReadAndWrite(pages, vop::PageSize));
    }
    std::printf("replace-all, 2 GiB, one occurrence at each of its 32,768 page starts, first Yes to the count: "
                "%.3f s; reading and writing it in place in %zu KiB chunks %.3f s: %.2fx\n",
                pagesReplace, Chunk / 1024, pagesPlain, pagesReplace / pagesPlain);
    std::printf("TABLE|replace-all 2 GiB (32,768 page starts)|%.3f s|%.2fx a read+write|aim <= 3x\n", pagesReplace,
                pagesReplace / pagesPlain);
    std::printf("TABLE|replace-all 2 GiB, against a read+write a page at a time|%.3f s|%.2fx (%.3f s)|report\n",
                pagesReplace, pagesReplace / pagesByPage, pagesByPage);
    return 0;
}
