// The text view's index of lines: the whole file split at line feeds.
#pragma once

#include <cstddef>
#include <cstdint>

#include "state/editor_state.h"

namespace vop {

void BuildLineIndex(EditorState& s);
// The same within a memory budget for the store and the records (bytes);
// exceeding it is handled as running out of memory: the index stays empty.
// Returns true when the index was built.
bool BuildLineIndexWithin(EditorState& s, std::size_t memoryLimit);
void DiscardLineIndex(EditorState& s);
// Sets TopLine to the line holding the hex view's top byte; LeftColumn := 0.
void LocateTopLine(EditorState& s);

// A line as the text view shows it (clamped to the lines there are): its
// start and the bytes kept of it, which lie at Store.data() + Start. Found
// from the mark before it: a search among the marks, then at most 64 KiB.
LineRecord IndexedLine(const LineIndex& index, std::int32_t line);

// Offset mappings, exact whatever was cut from a long line.
// The file offset where `line` starts (0 without an index).
std::uint64_t LineStartOffset(const LineIndex& index, std::int32_t line);
// The line that holds file offset `offset`, a line's feed included; past the
// end the last line, and 0 without an index.
std::int32_t LineHoldingOffset(const LineIndex& index, std::uint64_t offset);

}  // namespace vop
