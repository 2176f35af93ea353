// What a screen reader says of the data window, which Vop draws itself: in
// the hex view the caret's address, its byte and the character the screen
// shows for it; in the text view the top line's number and text; without a
// document, that none is open. The shell's accessible object hands these
// words on as they are, asking again at every request.
#pragma once

#include <string>

#include "state/editor_state.h"

namespace vop {

struct ReaderWords {
    std::string name;   // UTF-8: "Address 00001234, byte 41, A"
    std::string value;  // the byte's two hex digits, or the line's text
};

ReaderWords DataWindowWords(const EditorState& s);

// The character a byte shows in the data window, as a reader says it: the
// character itself, a plain name for bytes that draw no character (null, tab,
// line feed...), and the screen's picture (code page 437) above 0x7F.
std::string SpokenByte(std::uint8_t byte);

}  // namespace vop
