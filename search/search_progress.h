// What a long search shows and listens to: after a third of a second its
// progress in the status bar's first part, and Esc, which stops it. A quick
// search shows nothing and is not interrupted.
#pragma once

#include <cstdint>
#include <string>

#include "state/editor_state.h"

namespace vop {

class SearchProgress {
public:
    // `label` opens the status line ("Searching…"); positions run from `from` to `to`.
    SearchProgress(EditorState& s, std::string label, std::uint64_t from, std::uint64_t to);
    // Puts the caret address back in the status bar when progress was shown.
    ~SearchProgress();
    SearchProgress(const SearchProgress&) = delete;
    SearchProgress& operator=(const SearchProgress&) = delete;

    // Between two chunks: shows how far the search has come and returns true
    // when the user has pressed Esc, or the window was asked to close; the
    // search then stops at once.
    // Replace-all stops here once per occurrence, up to a million times a
    // run: the clock is read only after a stretch of the file or a run of
    // calls, and the calls in between cost no more than a compare.
    bool stopAt(std::uint64_t position) {
        if (calls_++ > 0 && position - clockReadAt_ < ClockEveryBytes && calls_ % ClockEveryCalls != 0) return false;
        return poll(position);
    }

private:
    // A dense replace-all passes a thousand occurrences in microseconds.
    static constexpr std::uint64_t ClockEveryBytes = 64 * 1024;
    static constexpr std::uint64_t ClockEveryCalls = 1024;

    bool poll(std::uint64_t position);

    EditorState& s_;
    std::string label_;
    std::uint64_t from_, to_;
    std::uint64_t started_, lastPoll_ = 0;
    std::uint64_t calls_ = 0, clockReadAt_ = 0;
    int shownPercent_ = -1;
};

}  // namespace vop
