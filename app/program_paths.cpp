#include "app/program_paths.h"

namespace vop {

std::optional<std::string> ProgramDirectory(const std::string& programPath) {
    // The search runs from the end down to the second character: a backslash
    // in the very first place does not count as a directory separator.
    for (std::size_t i = programPath.size(); i-- > 1;) {
        if (programPath[i] == '\\') return programPath.substr(0, i + 1);
    }
    return std::nullopt;
}

std::string CommandLinePath(const std::string& commandLine) {
    if (commandLine.empty() || commandLine[0] != '"') return commandLine;
    if (commandLine.size() < 2) return std::string();
    return commandLine.substr(1, commandLine.size() - 2);
}

}  // namespace vop
