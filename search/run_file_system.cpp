#include "search/run_file_system.h"

#include <utility>

namespace vop {
namespace {

// What one load, search or save of the run holds: the run's file, without
// its close. Each load, search and save seeks before it reads or writes; one
// that does not starts at the file's start, as on a file just opened. Reads
// and writes go straight through: a search's pass over the file costs the
// same as with a file of its own.
class SharedFile : public OpenFile {
public:
    SharedFile(OpenFile& file, bool& runWrote) : file_(&file), runWrote_(runWrote) {}
    ~SharedFile() override { close(); }
    SharedFile(const SharedFile&) = delete;
    SharedFile& operator=(const SharedFile&) = delete;

    bool seek(std::uint64_t offset) override {
        positioned_ = true;
        return file_ && file_->seek(offset);
    }
    std::optional<std::uint64_t> size() override { return file_ ? file_->size() : std::nullopt; }
    std::size_t read(void* buffer, std::size_t count) override {
        return positioned() ? file_->read(buffer, count) : 0;
    }
    std::size_t write(const void* buffer, std::size_t count) override {
        if (!positioned()) return 0;
        wrote_ = runWrote_ = true;
        return file_->write(buffer, count);
    }
    bool flush() override { return file_ && file_->flush(); }
    // The file stays open for the rest of the run, but what was written
    // through this handle is flushed: the save that wrote it learns whether
    // it reached the file.
    bool close() override {
        if (!file_) return true;
        const bool flushed = !wrote_ || file_->flush();
        file_ = nullptr;
        return flushed;
    }

private:
    bool positioned() { return file_ && (positioned_ || seek(0)); }

    OpenFile* file_;
    bool& runWrote_;
    bool positioned_ = false;
    bool wrote_ = false;
};

}  // namespace

RunFileSystem::RunFileSystem(EditorState& s) : s_(s), outer_(s.files), path_(s.pages.DocumentPath) {
    s.files = this;
}

RunFileSystem::~RunFileSystem() { finish(); }

std::unique_ptr<OpenFile> RunFileSystem::open(const std::string& path, OpenMode mode) {
    if (path != path_) return outer_->open(path, mode);
    // A file that could not be opened for update (another program held it
    // for a moment) is asked again when a save needs it: a lock that has
    // passed costs the run nothing. The handle it had for reading is in no
    // one's hands then: each load, search and save lets its own go first.
    if (!file_ || (mode == OpenMode::Update && !writable_)) {
        if (std::unique_ptr<OpenFile> update = outer_->open(path, OpenMode::Update)) {
            if (file_) file_->close();
            file_ = std::move(update);
            writable_ = true;
        } else if (!file_) {
            file_ = outer_->open(path, OpenMode::Read);
        }
        if (!file_) return nullptr;
    }
    if (mode == OpenMode::Update && !writable_) return nullptr;
    return std::make_unique<SharedFile>(*file_, wrote_);
}

bool RunFileSystem::finish() {
    if (s_.files == this) s_.files = outer_;
    if (!file_) return true;
    const bool closed = file_->close();
    file_.reset();
    return closed || !wrote_;
}

}  // namespace vop
