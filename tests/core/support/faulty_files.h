// A file layer over the real one that injects the failures a user's disk can
// produce: a file that cannot be opened for writing (read-only, locked), a
// write that stops part-way, a read that fails, a flush that fails on close,
// a seek or a size that fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "state/file_system.h"

namespace vop::test {

struct FaultPlan {
    bool failOpenUpdate = false;  // every open for update fails (a read-only file)
    // The write with this number (1-based, counted over the whole file layer)
    // writes only `partialWriteBytes` bytes and reports that count. 0: never.
    int failWriteNumber = 0;
    std::size_t partialWriteBytes = 100;
    // Reads stop (return 0) once this many bytes were read from one open file.
    std::size_t readLimit = SIZE_MAX;
    bool failClose = false;  // close() of a file opened for update reports a lost flush
    bool failSeek = false;   // every seek fails
    bool failSize = false;   // the size cannot be measured
};

class FaultyFileSystem : public FileSystem {
public:
    FaultPlan plan;

    // What the core did, for checks.
    int writes = 0;
    int openFiles = 0;  // files currently open (must be 0 between operations)
    std::vector<std::string> pathsAsked;  // every path asked to be opened, in order

    std::unique_ptr<OpenFile> open(const std::string& path, OpenMode mode) override;
};

}  // namespace vop::test
