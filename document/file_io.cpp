#include "document/file_io.h"

#include <cstdio>

namespace vop {
namespace {

#if defined(_WIN32)
int seek64(std::FILE* f, std::uint64_t offset, int whence) { return _fseeki64(f, static_cast<__int64>(offset), whence); }
std::int64_t tell64(std::FILE* f) { return _ftelli64(f); }
#else
int seek64(std::FILE* f, std::uint64_t offset, int whence) { return fseeko(f, static_cast<off_t>(offset), whence); }
std::int64_t tell64(std::FILE* f) { return ftello(f); }
#endif

class StdioFile : public OpenFile {
public:
    explicit StdioFile(std::FILE* f) : file_(f) {}
    ~StdioFile() override { close(); }

    bool seek(std::uint64_t offset) override { return file_ && seek64(file_, offset, SEEK_SET) == 0; }

    std::optional<std::uint64_t> size() override {
        if (!file_) return std::nullopt;
        const std::int64_t here = tell64(file_);
        if (here < 0 || seek64(file_, 0, SEEK_END) != 0) return std::nullopt;
        const std::int64_t end = tell64(file_);
        seek64(file_, static_cast<std::uint64_t>(here), SEEK_SET);
        if (end < 0) return std::nullopt;
        return static_cast<std::uint64_t>(end);
    }

    std::size_t read(void* buffer, std::size_t count) override {
        return file_ ? std::fread(buffer, 1, count, file_) : 0;
    }

    std::size_t write(const void* buffer, std::size_t count) override {
        if (!file_) return 0;
        // A stream opened for update needs a positioning call between a read and a write.
        seek64(file_, 0, SEEK_CUR);
        return std::fwrite(buffer, 1, count, file_);
    }

    bool close() override {
        if (!file_) return true;
        const bool ok = std::fclose(file_) == 0;
        file_ = nullptr;
        return ok;
    }

private:
    std::FILE* file_;
};

class StdioFileSystem : public FileSystem {
public:
    std::unique_ptr<OpenFile> open(const std::string& path, OpenMode mode) override {
        std::FILE* f = std::fopen(path.c_str(), mode == OpenMode::Read ? "rb" : "r+b");
        if (!f) return nullptr;
        return std::make_unique<StdioFile>(f);
    }
};

}  // namespace

FileSystem& realFileSystem() {
    static StdioFileSystem fs;  // stateless: safe to share between tests
    return fs;
}

}  // namespace vop
