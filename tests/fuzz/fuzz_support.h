// What the fuzz targets share: a check that stops the run the way libFuzzer
// reports (keeping the input), and files held in memory for the readers. A
// read hands back at most `chunk` bytes, so the readers' loops over short reads run too.
#pragma once
#include <algorithm>
#include <map>
#include <vector>

#include "state/file_system.h"

using namespace std;
using Bytes = vector<uint8_t>;
inline void Require(bool holds) { if (!holds) __builtin_trap(); }

struct MemoryFile : vop::OpenFile {
    MemoryFile(Bytes& contents, size_t longestRead) : bytes(contents), chunk(longestRead) {}
    bool seek(uint64_t offset) override { return offset <= bytes.size() && (at = offset, true); }
    optional<uint64_t> size() override { return bytes.size(); }
    size_t read(void* buffer, size_t count) override {
        size_t n = min({count, chunk, bytes.size() - at});
        copy_n(bytes.data() + at, n, static_cast<uint8_t*>(buffer));
        return at += n, n;
    }
    size_t write(const void* buffer, size_t count) override {
        bytes.resize(max(bytes.size(), at + count));
        copy_n(static_cast<const uint8_t*>(buffer), count, bytes.data() + at);
        return at += count, count;
    }
    bool flush() override { return true; }
    bool close() override { return true; }
    Bytes& bytes;
    size_t chunk, at = 0;
};

struct MemoryFileSystem : vop::FileSystem {
    map<string, Bytes> files;
    size_t chunk = 1;
    unique_ptr<vop::OpenFile> open(const string& path, vop::OpenMode mode) override {
        if (mode == vop::OpenMode::Replace) files[path].clear();
        return files.count(path) ? make_unique<MemoryFile>(files[path], chunk) : nullptr;
    }
};
