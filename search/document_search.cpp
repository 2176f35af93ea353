#include "search/document_search.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "document/error_box.h"

namespace vop {
namespace {

// File chunks start small, so that a search whose occurrence lies just past
// the held pages reads little, and grow to a size that runs at memory speed.
constexpr std::size_t FirstChunk = 64 * 1024;
constexpr std::size_t LargestChunk = 512 * 1024;

// The document is scanned as a row of segments (the held pages in place,
// then chunks of the file). An occurrence may straddle two segments: the
// last length - 1 bytes seen are carried over and searched together with the
// start of the next segment.
class SegmentScan {
public:
    SegmentScan(const SequenceMatcher& matcher, std::uint64_t start) : matcher_(matcher), carryAt_(start) {}

    // Searches `n` bytes that lie at `at`, right after everything scanned so far.
    bool scan(const std::uint8_t* bytes, std::size_t n, std::uint64_t at) {
        const std::size_t keep = matcher_.length() > 0 ? matcher_.length() - 1 : 0;
        if (carried_ > 0 && n > 0) {
            // Only occurrences that begin in the carried bytes: one that begins
            // in the segment cannot end within the bytes joined here.
            const std::size_t take = std::min(n, keep);
            std::memcpy(join_ + carried_, bytes, take);
            const std::size_t p = matcher_.find(join_, carried_ + take);
            if (p != SequenceMatcher::npos) return hit(carryAt_ + p);
        }
        const std::size_t p = matcher_.find(bytes, n);
        if (p != SequenceMatcher::npos) return hit(at + p);
        // Keep the last `keep` bytes of the carried bytes and this segment.
        if (n >= keep) {
            std::memcpy(join_, bytes + n - keep, keep);
            carried_ = keep;
        } else {
            const std::size_t fromOld = std::min(carried_, keep - n);
            std::memmove(join_, join_ + carried_ - fromOld, fromOld);
            std::memcpy(join_ + fromOld, bytes, n);
            carried_ = fromOld + n;
        }
        carryAt_ = at + n - carried_;
        return false;
    }

    std::uint64_t found() const { return found_; }

private:
    bool hit(std::uint64_t address) {
        found_ = address;
        return true;
    }

    const SequenceMatcher& matcher_;
    std::uint8_t join_[2 * MaxPatternLength];  // only the first carried_ + a segment's start are read
    std::size_t carried_ = 0;
    std::uint64_t carryAt_;
    std::uint64_t found_ = 0;
};

struct HeldSegment {
    const PageBuffer* page;
    std::uint64_t start;
};

}  // namespace

SearchHit FindInDocument(EditorState& s, std::uint32_t start, const SequenceMatcher& matcher,
                         SearchProgress& progress) {
    const PageWindow& w = s.pages;
    const std::uint64_t end = w.FileSize;
    if (!s.documentOpen() || start >= end) return {};
    if (matcher.length() == 0) return {SearchOutcome::Found, start};
    SegmentScan scan(matcher, start);
    const auto found = [&] { return SearchHit{SearchOutcome::Found, static_cast<std::uint32_t>(scan.found())}; };

    // The held pages first, as held: they are what the screen shows.
    std::uint64_t position = start;
    const HeldSegment held[] = {{&w.CurrentPage, PageStart(w.PageIndex)},
                                {&w.NextPage, PageStart(w.PageIndex) + PageSize}};
    for (const HeldSegment& h : held) {
        if (!h.page->present() || position < h.start || position >= h.start + h.page->Length) continue;
        const std::size_t from = static_cast<std::size_t>(position - h.start);
        if (progress.stopAt(position)) return {SearchOutcome::Cancelled, 0};
        if (scan.scan(h.page->Bytes.get() + from, h.page->Length - from, position)) return found();
        position = h.start + h.page->Length;
    }
    if (position >= end) return {};

    // The rest of the file as stored.
    std::unique_ptr<OpenFile> file = s.Files().open(w.DocumentPath, OpenMode::Read);
    if (!file) {
        ShowError(s, "Error opening file for reading!");
        return {SearchOutcome::Unreadable, 0};
    }
    // Left unfilled: a search that ends in its first chunks touches no more of it.
    const std::unique_ptr<std::uint8_t[]> chunk(new std::uint8_t[LargestChunk]);
    std::size_t size = FirstChunk;
    bool sought = false;
    while (position < end) {
        if (progress.stopAt(position)) return {SearchOutcome::Cancelled, 0};
        if (!sought && !file->seek(position)) break;
        sought = true;
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(size, end - position));
        // A short read (the file shrank, or a read error) ends the search
        // after the bytes that did arrive.
        const std::size_t got = file->read(chunk.get(), want);
        if (scan.scan(chunk.get(), got, position)) return found();
        if (got < want) break;
        position += got;
        size = std::min(size * 2, LargestChunk);
    }
    return {};
}

}  // namespace vop
