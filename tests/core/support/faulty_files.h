// A file layer over the real one that injects what a user's disk and other
// programs do: a file that cannot be opened for writing (read-only, locked),
// a write that stops part-way, a seek that fails, a flush that fails (with
// buffered writes a full disk often shows only there), a close that fails
// after every flush worked, a size that fails, and a file rewritten by
// another program between two of Vop's reads. It counts the files left open
// and notes where each write began.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "files/real_file_system.h"

namespace vop::test {

using namespace std;


struct FaultPlan {
    bool failOpenUpdate = false;  // a read-only file
    int failWriteNumber = 0;      // this write (1-based) stops after partialWriteBytes
    size_t partialWriteBytes = 100;
    bool failClose = false;            // closing an updated file fails, though each flush worked
    bool failSize = false;
    size_t failOpenNumber = 0;  // this open (1-based) fails: locked for a moment
    size_t changeAtRead = 0;    // before this read (1-based, of all files), `change` runs
    int changeAtWrite = 0;      // or before this write
    function<void()> change;    // another program writing the file
    int failSeekNumber = 0;     // this seek (1-based, of all files) fails
    int failFlushNumber = 0;    // this flush (1-based, of files opened for update) fails
    size_t readsAtMost = SIZE_MAX;  // bytes one read gives at most, short before the end
};

class FaultyFileSystem : public FileSystem {
public:
    FaultPlan plan;
    int writes = 0;
    int seeks = 0;
    int flushes = 0;                      // of files opened for update
    vector<uint64_t> writtenAt;           // where each write began
    int openFiles = 0;                    // must be 0 between operations
    size_t reads = 0;
    vector<string> pathsAsked;  // every path asked for, in order

    unique_ptr<OpenFile> open(const string& path, OpenMode mode) override {
        pathsAsked.push_back(path);
        size_t number = pathsAsked.size();
        bool update = mode == OpenMode::Update;
        if (number == plan.failOpenNumber) return nullptr;
        if (update && plan.failOpenUpdate) return nullptr;
        unique_ptr<OpenFile> real = RealFileSystem().open(path, mode);
        if (!real) return nullptr;
        return make_unique<File>(*this, move(real), update);
    }

private:
    class File : public OpenFile {
    public:
        File(FaultyFileSystem& owner, unique_ptr<OpenFile> real, bool update)
            : owner_(owner), real_(move(real)), update_(update) {
            ++owner_.openFiles;
        }
        ~File() override { close(); }
        bool seek(uint64_t offset) override {
            at_ = offset;
            return ++owner_.seeks != owner_.plan.failSeekNumber && real_->seek(offset);
        }
        optional<uint64_t> size() override {
            if (owner_.plan.failSize) return nullopt;
            return real_->size();
        }
        size_t read(void* buffer, size_t count) override {
            if (++owner_.reads == owner_.plan.changeAtRead && owner_.plan.change) owner_.plan.change();
            size_t got = real_->read(buffer, min(count, owner_.plan.readsAtMost));
            at_ += got;
            return got;
        }
        size_t write(const void* buffer, size_t count) override {
            owner_.writtenAt.push_back(at_);
            size_t part = count;
            if (++owner_.writes == owner_.plan.changeAtWrite) owner_.plan.change();
            if (owner_.writes == owner_.plan.failWriteNumber) part = min(count, owner_.plan.partialWriteBytes);
            size_t written = real_->write(buffer, part);
            at_ += written;
            return part < count ? min(written, count - 1) : written;
        }
        bool flush() override {
            bool failed = update_ && ++owner_.flushes == owner_.plan.failFlushNumber;
            return real_->flush() && !failed;
        }
        bool close() override {
            if (exchange(closed_, true)) return true;
            --owner_.openFiles;
            bool flushed = flush();
            return real_->close() && flushed && !(update_ && owner_.plan.failClose);
        }

    private:
        FaultyFileSystem& owner_;
        unique_ptr<OpenFile> real_;
        bool update_;
        bool closed_ = false;
        uint64_t at_ = 0;
    };
};

}  // namespace vop::test
