#include "files/real_file_system.h"

#include <cstdio>

#if defined(_WIN32)
#include <io.h>

#include <cerrno>

#include "files/unicode_text.h"
#else
#include <sys/stat.h>
#endif

namespace vop {
namespace {

#if defined(_WIN32)
std::u16string WideName(const std::string& path) { return ExtendedLengthPath(Utf8ToUtf16(path)); }
const wchar_t* Wide(const std::u16string& name) { return reinterpret_cast<const wchar_t*>(name.c_str()); }

std::FILE* OpenStream(const std::string& path, OpenMode mode) {
    const wchar_t* how = mode == OpenMode::Read ? L"rb" : (mode == OpenMode::Update ? L"r+b" : L"wb");
    return _wfopen(Wide(WideName(path)), how);
}

// The file's read-only attribute: on Windows, asking for write access is
// answered from that attribute alone, whoever the user is. (The runtime's
// stat takes the "?" of an extended-length path's \\?\ for a wildcard and
// fails, which called every such file writable.)
bool MarkedReadOnly(const std::string& path) {
    return _waccess(Wide(WideName(path)), 2) != 0 && errno == EACCES;
}

int Seek(std::FILE* f, std::uint64_t offset, int whence) { return _fseeki64(f, static_cast<__int64>(offset), whence); }

// The end of the file, from one move of the handle underneath the stream:
// asking the handle's size (_fstat64) costs five times a move under Wine.
// The stream must be placed again before it reads or writes.
constexpr bool LengthMovesHandle = true;
std::int64_t Length(std::FILE* f) { return _lseeki64(_fileno(f), 0, SEEK_END); }
#else
std::FILE* OpenStream(const std::string& path, OpenMode mode) {
    return std::fopen(path.c_str(), mode == OpenMode::Read ? "rb" : (mode == OpenMode::Update ? "r+b" : "wb"));
}

// Asked of the file's own mark, not of the current user's rights: an
// administrator may write anything, yet a file marked read-only stays so.
bool MarkedReadOnly(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
}

int Seek(std::FILE* f, std::uint64_t offset, int whence) { return fseeko(f, static_cast<off_t>(offset), whence); }

// Asked of the open file, which leaves the stream where it was (moving the
// descriptor underneath would confuse the offset the C library keeps).
constexpr bool LengthMovesHandle = false;
std::int64_t Length(std::FILE* f) {
    struct stat st {};
    return fstat(fileno(f), &st) == 0 ? st.st_size : -1;
}
#endif

// A replace-all run reads and writes a page at a time through one stream, a
// few calls each: every call into the system that is not needed is left out.
class StdioFile : public OpenFile {
public:
    explicit StdioFile(std::FILE* f) : file_(f) {}
    ~StdioFile() override { close(); }

    bool seek(std::uint64_t offset) override {
        last_ = Last::Seek;
        if (!file_ || Seek(file_, offset, SEEK_SET) != 0) return false;
        position_ = offset;
        return true;
    }

    // Asked of the open file, not found by seeking to the end and back with
    // the stream (three calls, and its buffer dropped). Bytes written but
    // still buffered are flushed first, so that they count.
    std::optional<std::uint64_t> size() override {
        if (!file_ || (last_ == Last::Write && !flush())) return std::nullopt;
        const std::int64_t length = Length(file_);
        if (LengthMovesHandle) last_ = Last::Moved;
        if (length < 0) return std::nullopt;
        return static_cast<std::uint64_t>(length);
    }

    // A stream opened for update needs a flush or a positioning call between
    // a write and a read, and a positioning call between a read and a write.
    std::size_t read(void* buffer, std::size_t count) override {
        if (!file_ || (last_ == Last::Write && !flush()) || !placed()) return 0;
        last_ = Last::Read;
        const std::size_t got = std::fread(buffer, 1, count, file_);
        position_ += got;
        return got;
    }

    std::size_t write(const void* buffer, std::size_t count) override {
        if (!file_ || !placed()) return 0;
        if (last_ == Last::Read) Seek(file_, 0, SEEK_CUR);
        last_ = Last::Write;
        const std::size_t written = std::fwrite(buffer, 1, count, file_);
        position_ += written;
        return written;
    }

    bool flush() override {
        last_ = Last::Seek;
        return file_ && std::fflush(file_) == 0;
    }

    bool close() override {
        if (!file_) return true;
        const bool ok = std::fclose(file_) == 0;
        file_ = nullptr;
        return ok;
    }

private:
    // The last call that touched the stream's position; a flush counts as a
    // seek. Moved: the handle was moved underneath the stream by size().
    enum class Last { Seek, Read, Write, Moved };

    // Puts the stream back where it was before size() moved its handle.
    bool placed() { return last_ != Last::Moved || seek(position_); }

    std::FILE* file_;
    Last last_ = Last::Seek;
    std::uint64_t position_ = 0;  // where the stream reads or writes next
};

class StdioFileSystem : public FileSystem {
public:
    std::unique_ptr<OpenFile> open(const std::string& path, OpenMode mode) override {
        if (mode == OpenMode::Replace && MarkedReadOnly(path)) return nullptr;
        std::FILE* f = OpenStream(path, mode);
        if (!f) return nullptr;
        return std::make_unique<StdioFile>(f);
    }
};

}  // namespace

FileSystem& RealFileSystem() {
    static StdioFileSystem fs;  // stateless: safe to share between tests
    return fs;
}

}  // namespace vop
