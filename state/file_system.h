// The file layer every file access goes through: the edited file, the
// settings file and the font files. Paths are UTF-8. The edited file is never
// kept open between the user's actions: each load, save, revert and index
// build opens it by path and closes it before returning, and one replace-all
// run keeps it open from its first read to its last write. Tests substitute a
// layer that injects failures (a write that stops half-way, a read that
// fails, a file that vanishes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace vop {

enum class OpenMode {
    Read,     // read only; the file must exist
    Update,   // read and write in place, never truncated; the file must exist
    Replace,  // write from empty, created if missing; a file marked read-only is left alone
};

class OpenFile {
public:
    virtual ~OpenFile() = default;
    // 64-bit throughout: a 32-bit position cannot measure a 2 GiB file.
    virtual bool seek(std::uint64_t offset) = 0;
    // Size of the file as it is now, or nothing when it cannot be measured.
    virtual std::optional<std::uint64_t> size() = 0;
    // Reads up to count bytes; returns the number read (short at the end or on an error).
    virtual std::size_t read(void* buffer, std::size_t count) = 0;
    // Writes count bytes; returns the number written (short on failure).
    virtual std::size_t write(const void* buffer, std::size_t count) = 0;
    // Hands the buffered bytes to the file; false when they could not be
    // written. A file that stays open past a save is flushed by it, so that
    // a lost write is seen by the save that made it.
    virtual bool flush() = 0;
    // Flushes and closes; false when buffered data could not be written.
    virtual bool close() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Nothing when the file cannot be opened in that mode.
    virtual std::unique_ptr<OpenFile> open(const std::string& path, OpenMode mode) = 0;
};

// A file system with no files: what a fresh EditorState reads until the
// program or a test gives it a real one.
class NullFileSystem : public FileSystem {
public:
    std::unique_ptr<OpenFile> open(const std::string&, OpenMode) override { return nullptr; }
};

}  // namespace vop
