// What the fuzz targets share: a check that stops the run the way libFuzzer
// reports (keeping the input), and files held in memory for the readers. A
// read hands back at most `chunk` bytes, so the readers' loops over short reads run too.
#pragma once
#include <algorithm>
#include <map>
#include <vector>

#include "state/file_system.h"

using Bytes = std::vector<std::uint8_t>;
inline void Require(bool holds) { if (!holds) __builtin_trap(); }

struct MemoryFile : vop::OpenFile {
    MemoryFile(Bytes& contents, std::size_t longestRead) : bytes(contents), chunk(longestRead) {}
    bool seek(std::uint64_t offset) override { return offset <= bytes.size() && (at = offset, true); }
    std::optional<std::uint64_t> size() override { return bytes.size(); }
    std::size_t read(void* buffer, std::size_t count) override {
        const std::size_t n = std::min({count, chunk, bytes.size() - at});
        std::copy_n(bytes.data() + at, n, static_cast<std::uint8_t*>(buffer));
        return at += n, n;
    }
    std::size_t write(const void* buffer, std::size_t count) override {
        bytes.resize(std::max(bytes.size(), at + count));
        std::copy_n(static_cast<const std::uint8_t*>(buffer), count, bytes.data() + at);
        return at += count, count;
    }
    bool close() override { return true; }
    Bytes& bytes;
    std::size_t chunk, at = 0;
};

struct MemoryFileSystem : vop::FileSystem {
    std::map<std::string, Bytes> files;
    std::size_t chunk = 1;
    std::unique_ptr<vop::OpenFile> open(const std::string& path, vop::OpenMode mode) override {
        if (mode == vop::OpenMode::Replace) files[path].clear();
        return files.count(path) ? std::make_unique<MemoryFile>(files[path], chunk) : nullptr;
    }
};
