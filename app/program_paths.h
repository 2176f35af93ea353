// Files beside the program (settings, fonts, sounds) are found in the folder
// of the program file: its full path cut just after the last backslash.
#pragma once

#include <string>

namespace vop {

// The directory part of a full program path, with its trailing backslash;
// empty when the path holds no backslash after its first character.
std::string ProgramDirectory(const std::string& programPath);

// The command-line rule: a text that starts with a double quote loses its
// first and its last character, whatever the last one is.
std::string CommandLinePath(const std::string& commandLine);

}  // namespace vop
