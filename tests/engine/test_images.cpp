#include "test_images.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace quillet::test {

Bytes patternBytes(std::size_t size, unsigned seed) {
    std::minstd_rand random(seed);
    Bytes bytes(size);
    std::generate(bytes.begin(), bytes.end(), [&] { return std::byte(random() & 0xFF); });
    return bytes;
}

Bytes branchBytes(std::uint32_t branch) {
    return {std::byte(branch & 0xFF), std::byte((branch >> 8) & 0xFF),
            std::byte((branch >> 16) & 0xFF), std::byte(branch >> 24)};
}

Bytes imageWithBranch(std::size_t size, std::uint32_t branch, unsigned seed) {
    Bytes image = patternBytes(size, seed);
    const Bytes entry = branchBytes(branch);
    std::copy_n(entry.begin(), std::min(size, entry.size()), image.begin());
    return image;
}

Bytes imageWithTarget(std::size_t size, std::uint32_t target, unsigned seed) {
    return imageWithBranch(size, 0xEA00'0000 | ((target - 8) / 4), seed);
}

Bytes slice(std::span<const std::byte> bytes, std::size_t offset, std::size_t length) {
    const auto part = bytes.subspan(offset, length);
    return Bytes(part.begin(), part.end());
}

bool allBytesAre(std::span<const std::byte> bytes, std::byte value) {
    return std::all_of(bytes.begin(), bytes.end(), [&](std::byte b) { return b == value; });
}

ScratchFolder::ScratchFolder() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    root_ = std::filesystem::temp_directory_path() /
            ("quillet-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
    if (!std::filesystem::create_directory(root_)) {
        throw std::runtime_error("scratch folder exists already: " + root_.string());
    }
}

ScratchFolder::~ScratchFolder() {
    std::error_code error;
    // Tests may leave read-only files behind; removal needs no write permission on them.
    std::filesystem::remove_all(root_, error);
}

std::filesystem::path ScratchFolder::write(const std::string& name,
                                           std::span<const std::byte> bytes) const {
    const auto file = path(name);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + file.string());
    }
    return file;
}

Bytes ScratchFolder::read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path(name).string());
    }
    Bytes bytes;
    std::transform(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(),
                   std::back_inserter(bytes), [](char c) { return std::byte(c); });
    return bytes;
}

std::vector<std::string> ScratchFolder::entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(root_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::map<std::string, Bytes> ScratchFolder::snapshot() const {
    std::map<std::string, Bytes> files;
    for (const auto& name : entries()) {
        if (std::filesystem::is_regular_file(path(name))) {
            files.emplace(name, read(name));
        }
    }
    return files;
}

}  // namespace quillet::test
