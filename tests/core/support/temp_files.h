// Temporary files for tests, removed when the test ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vop::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // Full path of a file in the folder (with a trailing separator rule of the platform).
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    // A sparse file of the given size (reads as zeros).
    std::string sparse(const std::string& name, std::uint64_t size) const;

private:
    std::string path_;
};

std::vector<std::uint8_t> ReadWholeFile(const std::string& path);
// Deterministic pseudo-random bytes.
std::vector<std::uint8_t> PatternBytes(std::size_t count, std::uint32_t seed);

}  // namespace vop::test
