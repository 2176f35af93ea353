// The pattern entry control "VopAdvancedEditField": one row of a Find or
// Replace pattern, either as characters (one cell per byte, typing inserts)
// or as hex (two digit cells per byte, typing overwrites). A dialog makes the
// rows in pairs; after every change of content a row sends its whole sequence
// to its partner, so both show the same bytes. Besides the standard text
// messages (shell/entry_fields_win32.h), the dialogs reach the raw bytes by
// direct calls.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "shell/entry_fields_win32.h"

namespace vop::shell {

constexpr const char* PatternFieldClassName = "VopAdvancedEditField";
// Every pattern row is this size, in pixels of the dialog's client area.
constexpr int PatternFieldWidth = 260;
constexpr int PatternFieldHeight = 18;

bool RegisterPatternFieldClass(HINSTANCE instance);

// Creates an empty row as the dialog's child at (x, y) of its client area,
// as laid out for base units of 6 × 13 pixels (see CreateFieldWindow).
// `partner` points at the variable where the dialog keeps the other row's
// handle; it is read at every change, so the other row may be made later
// (null pointer or null handle: no partner). The variable must outlive the
// row. Null when the window could not be made.
HWND CreatePatternField(HWND dialog, bool isHex, HWND* partner, int x, int y);

// The row's bytes: `count` of them (at most 256 are taken), the row scrolled
// back to its start and nothing passed on; or read into 256 bytes, with their
// count. A window that is no pattern row takes and gives nothing.
void SetPatternBytes(HWND row, std::size_t count, const std::uint8_t* bytes);
std::int32_t GetPatternBytes(HWND row, std::uint8_t* bytes);

}  // namespace vop::shell
