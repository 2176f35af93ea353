// Temporary files for tests, removed when the test ends, and test bytes.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace vop::test {

using namespace std;


using Bytes = vector<uint8_t>;

class TempDir {
public:
    TempDir() {
        path_ = (filesystem::temp_directory_path() / "vop-test-XXXXXX").string();
        if (!mkdtemp(path_.data())) throw runtime_error("mkdtemp failed");
    }
    ~TempDir() {
        error_code ignored;
        filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;

    const string& path() const { return path_; }
    string file(const string& name) const { return path_ + "/" + name; }
    string write(const string& name, const Bytes& bytes) const {
        ofstream out(file(name), ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), streamsize(bytes.size()));
        return file(name);
    }
    // A file of `size` zeros that takes no room on disk.
    string sparse(const string& name, uint64_t size) const {
        filesystem::resize_file(write(name, {}), size);
        return file(name);
    }

private:
    string path_;
};

inline Bytes ReadWholeFile(const string& path) {
    ifstream in(path, ios::binary);
    return {istreambuf_iterator<char>(in), istreambuf_iterator<char>()};
}

// Deterministic pseudo-random bytes (xorshift).
inline Bytes PatternBytes(size_t count, uint32_t seed) {
    Bytes v(count);
    uint32_t x = seed * 2654435761u + 1;
    for (auto& b : v) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = uint8_t(x >> 24);
    }
    return v;
}

}  // namespace vop::test
