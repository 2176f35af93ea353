#include "support/fake_ui.h"

namespace vop::test {

BoxAnswer FakeUi::messageBox(BoxOwner owner, const std::string& text, const std::string& t, BoxButtons buttons) {
    boxes.push_back({owner, text, t, buttons});
    if (!answers.empty()) {
        BoxAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    switch (buttons) {
        case BoxButtons::Ok: return BoxAnswer::Ok;
        case BoxButtons::YesNo: return BoxAnswer::No;
        case BoxButtons::YesNoCancel: return BoxAnswer::Cancel;
    }
    return BoxAnswer::Ok;
}

void FakeUi::layoutStatusParts(bool two, const std::string&) {
    statusTwoParts = two;
    if (!two) statusText[1].clear();
}

void FakeUi::setStatusText(int part, const std::string& text) {
    if (part == 0 || part == 1) statusText[part] = text;
}

}  // namespace vop::test
