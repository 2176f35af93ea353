#include "support/fake_ui.h"

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
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.columns; ++c)
            for (const auto& [l, t, right, b] : dirty)
                if (inset + c * cw < right && inset + (c + 1) * cw > l && r * ch < b && (r + 1) * ch > t) {
                    screen[static_cast<std::size_t>(r * g.columns + c)] = g.at(r, c);
                    break;
                }
    dirty.clear();
}

}  // namespace vop::test
