// Files beside the program (settings, fonts) are found in the folder of the
// program file: its full path cut just after the last backslash.
#pragma once

#include <optional>
#include <string>

namespace vop {

// The folder part of the program's full path, with its trailing backslash.
// Nothing when there is no backslash after the first character: the program
// then has no folder to look in, and must not fall back on the current one.
std::optional<std::string> ProgramDirectory(const std::string& programPath);

// The command-line rule: a text that starts with a double quote loses its
// first and its last character, whatever the last one is.
std::string CommandLinePath(const std::string& commandLine);

}  // namespace vop
