#include "support/faulty_files.h"

#include <algorithm>

#include "files/real_file_system.h"

namespace vop::test {
namespace {

class FaultyFile : public OpenFile {
public:
    FaultyFile(FaultyFileSystem& owner, std::unique_ptr<OpenFile> real, OpenMode mode)
        : owner_(owner), real_(std::move(real)), mode_(mode) {
        ++owner_.openFiles;
    }
    ~FaultyFile() override { close(); }

    bool seek(std::uint64_t offset) override { return !owner_.plan.failSeek && real_->seek(offset); }

    std::optional<std::uint64_t> size() override {
        if (owner_.plan.failSize) return std::nullopt;
        return real_->size();
    }

    std::size_t read(void* buffer, std::size_t count) override {
        const std::size_t allowed = std::min(count, owner_.plan.readLimit - std::min(owner_.plan.readLimit, read_));
        const std::size_t got = allowed ? real_->read(buffer, allowed) : 0;
        read_ += got;
        return got;
    }

    std::size_t write(const void* buffer, std::size_t count) override {
        if (++owner_.writes != owner_.plan.failWriteNumber) return real_->write(buffer, count);
        const std::size_t part = std::min(count, owner_.plan.partialWriteBytes);
        const std::size_t done = part ? real_->write(buffer, part) : 0;
        return done < count ? done : count - 1;
    }

    bool close() override {
        if (closed_) return true;
        closed_ = true;
        --owner_.openFiles;
        const bool ok = real_->close();
        return ok && !(mode_ == OpenMode::Update && owner_.plan.failClose);
    }

private:
    FaultyFileSystem& owner_;
    std::unique_ptr<OpenFile> real_;
    OpenMode mode_;
    bool closed_ = false;
    std::size_t read_ = 0;
};

}  // namespace

std::unique_ptr<OpenFile> FaultyFileSystem::open(const std::string& path, OpenMode mode) {
    pathsAsked.push_back(path);
    if (mode == OpenMode::Update && plan.failOpenUpdate) return nullptr;
    std::unique_ptr<OpenFile> real = RealFileSystem().open(path, mode);
    if (!real) return nullptr;
    return std::make_unique<FaultyFile>(*this, std::move(real), mode);
}

}  // namespace vop::test
