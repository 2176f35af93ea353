#include "support/fake_ui.h"

#include <algorithm>

#include "state/cell_metrics.h"

namespace vop::test {

BoxAnswer FakeUi::messageBox(BoxOwner owner, const std::string& text, const std::string& t, BoxButtons buttons) {
    boxes.push_back({owner, text, t, buttons});
    if (!answers.empty()) {
        const BoxAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == BoxButtons::Ok ? BoxAnswer::Ok : buttons == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Cancel;
}

void FakeUi::layoutStatusParts(bool two, const std::string&) {
    statusTwoParts = two;
    if (!two) statusText[1].clear();
}

void FakeUi::setStatusText(int part, const std::string& text) {
    if (part == 0 || part == 1) statusText[part] = text;
}

void FakeUi::paint(const EditorState& s) {
    const ScreenGrid& g = s.grid;
    if (screen.size() != g.cells.size()) screen.assign(g.cells.size(), 0);
    const int cw = CellWidth(s.settings.FontCell), ch = CellHeight(s.settings.FontCell);
    const int inset = CellInset(s.settings.FontCell);
    // Every cell whose pixels meet a repainted rectangle shows what the grid holds now.
    for (const auto& [l, t, r, b] : dirty) {
        const int c0 = std::max(0, (l - inset) / cw - 1), r0 = std::max(0, t / ch - 1);
        for (int row = r0; row < g.rows && row * ch < b; ++row)
            for (int c = c0; c < g.columns && inset + c * cw < r; ++c)
                if (inset + (c + 1) * cw > l && (row + 1) * ch > t) screen[std::size_t(row * g.columns + c)] = g.at(row, c);
    }
    dirty.clear();
}

}  // namespace vop::test
