#include "support/temp_files.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace vop::test {

TempDir::TempDir() {
    std::string templ = (std::filesystem::temp_directory_path() / "vop-test-XXXXXX").string();
    if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
    path_ = templ;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    const std::string p = file(name);
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return p;
}

std::string TempDir::sparse(const std::string& name, std::uint64_t size) const {
    const std::string p = file(name);
    { std::ofstream out(p, std::ios::binary | std::ios::trunc); }
    std::filesystem::resize_file(p, size);
    return p;
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::uint8_t> PatternBytes(std::size_t count, std::uint32_t seed) {
    std::vector<std::uint8_t> v(count);
    std::uint32_t x = seed * 2654435761u + 1;
    for (auto& b : v) {
        x ^= x << 13; x ^= x >> 17; x ^= x << 5;
        b = static_cast<std::uint8_t>(x >> 24);
    }
    return v;
}

}  // namespace vop::test
