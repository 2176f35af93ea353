#include "view/status_text.h"

#include <cstdio>

#include "view/caret_navigation.h"

namespace vop {

std::string CaretAddressText(std::uint32_t address) {
    char text[16];
    std::snprintf(text, sizeof text, "%08Xh", static_cast<unsigned>(address));
    return text;
}

std::string FileSizeText(std::uint32_t size) {
    char text[48];
    std::snprintf(text, sizeof text, "filesize = %08lXh (%lu)", static_cast<unsigned long>(size),
                  static_cast<unsigned long>(size));
    return text;
}

void LayoutStatusParts(EditorState& s, bool twoParts) {
    s.UI().layoutStatusParts(twoParts, FileSizeText(s.pages.FileSize));
}

void ShowCaretAddress(EditorState& s) { s.UI().setStatusText(0, CaretAddressText(CaretAddress(s))); }

void ShowFileSize(EditorState& s) { s.UI().setStatusText(1, FileSizeText(s.pages.FileSize)); }

}  // namespace vop
