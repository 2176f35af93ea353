// What the status bar shows: the caret address and the file size.
#pragma once

#include <string>

#include "state/editor_state.h"

namespace vop {

std::string CaretAddressText(std::uint32_t address);  // "%08Xh"
std::string FileSizeText(std::uint32_t size);          // "filesize = %08lXh (%lu)"

void LayoutStatusParts(EditorState& s, bool twoParts);
void ShowCaretAddress(EditorState& s);
void ShowFileSize(EditorState& s);

}  // namespace vop
