#include "search/search_progress.h"

#include <algorithm>
#include <utility>

#include "view/status_text.h"

namespace vop {
namespace {

// Below this a search feels instant: no progress, no polling.
constexpr std::uint64_t QuietMs = 333;
// Polling the window system costs a call into it; a few dozen a second keep
// Esc prompt without slowing the search.
constexpr std::uint64_t PollEveryMs = 25;

}  // namespace

SearchProgress::SearchProgress(EditorState& s, std::string label, std::uint64_t from, std::uint64_t to)
    : s_(s), label_(std::move(label)), from_(from), to_(to), started_(s.UI().milliseconds()) {}

SearchProgress::~SearchProgress() {
    if (shownPercent_ >= 0 && s_.documentOpen()) ShowCaretAddress(s_);
}

// The clock's part of stopAt: progress and Esc at most every PollEveryMs.
bool SearchProgress::poll(std::uint64_t position) {
    clockReadAt_ = position;
    const std::uint64_t now = s_.UI().milliseconds();
    if (now - started_ < QuietMs || now - lastPoll_ < PollEveryMs) return false;
    lastPoll_ = now;
    const std::uint64_t span = to_ > from_ ? to_ - from_ : 1;
    const std::uint64_t done = std::max(position, from_) - from_;
    const int percent = static_cast<int>(std::min<std::uint64_t>(done, span) * 100 / span);
    if (percent != shownPercent_) {
        shownPercent_ = percent;
        s_.UI().showProgress(label_ + " " + std::to_string(percent) + " %");
    }
    // A close another program asked for meanwhile stops the search as Esc
    // does; the window closes once the search has returned.
    return s_.UI().cancelRequested() || s_.CloseAsked;
}

}  // namespace vop
