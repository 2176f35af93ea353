// A file layer over the real one that injects the failures a user's disk can
// produce: a file that cannot be opened for writing (read-only, locked), a
// write that stops part-way, a read that fails, a flush that fails on close,
// a seek or a size that fails. It counts the files left open.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "files/real_file_system.h"

namespace vop::test {

struct FaultPlan {
    bool failOpenUpdate = false;  // every open for update fails (a read-only file)
    int failWriteNumber = 0;      // this write (1-based, over the whole layer) stops after partialWriteBytes
    std::size_t partialWriteBytes = 100;
    std::size_t readLimit = SIZE_MAX;  // reads of one open file stop after this many bytes
    bool failClose = false;            // closing a file opened for update loses its buffered bytes
    bool failSeek = false, failSize = false;
    std::size_t failOpenNumber = 0;  // this open (1-based, over the whole layer) fails: the file locked for a moment
};

class FaultyFileSystem : public FileSystem {
public:
    FaultPlan plan;
    int writes = 0, openFiles = 0;        // open files: must be 0 between operations
    std::vector<std::string> pathsAsked;  // every path asked to be opened, in order

    std::unique_ptr<OpenFile> open(const std::string& path, OpenMode mode) override {
        pathsAsked.push_back(path);
        if (pathsAsked.size() == plan.failOpenNumber || (mode == OpenMode::Update && plan.failOpenUpdate)) return nullptr;
        std::unique_ptr<OpenFile> real = RealFileSystem().open(path, mode);
        return real ? std::make_unique<File>(*this, std::move(real), mode == OpenMode::Update) : nullptr;
    }

private:
    class File : public OpenFile {
    public:
        File(FaultyFileSystem& owner, std::unique_ptr<OpenFile> real, bool update)
            : owner_(owner), real_(std::move(real)), update_(update) { ++owner_.openFiles; }
        ~File() override { close(); }
        bool seek(std::uint64_t offset) override { return !owner_.plan.failSeek && real_->seek(offset); }
        std::optional<std::uint64_t> size() override { return owner_.plan.failSize ? std::nullopt : real_->size(); }
        std::size_t read(void* buffer, std::size_t count) override {
            const std::size_t allowed = std::min(count, owner_.plan.readLimit - std::min(owner_.plan.readLimit, read_));
            const std::size_t got = allowed ? real_->read(buffer, allowed) : 0;
            return read_ += got, got;
        }
        std::size_t write(const void* buffer, std::size_t count) override {
            if (++owner_.writes != owner_.plan.failWriteNumber) return real_->write(buffer, count);
            const std::size_t part = std::min(count, owner_.plan.partialWriteBytes), done = part ? real_->write(buffer, part) : 0;
            return done < count ? done : count - 1;
        }
        bool close() override {
            if (std::exchange(closed_, true)) return true;
            --owner_.openFiles;
            return real_->close() && !(update_ && owner_.plan.failClose);
        }

    private:
        FaultyFileSystem& owner_;
        std::unique_ptr<OpenFile> real_;
        bool update_, closed_ = false;
        std::size_t read_ = 0;
    };
};

}  // namespace vop::test
