// Synthetic images and a scratch folder, shared by the engine's tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace quillet::test {

using Bytes = std::vector<std::byte>;

// Bytes that differ from their neighbours and from a copy shifted by a few places, so that a
// misplaced or missing byte shows. seed tells two images apart.
Bytes patternBytes(std::size_t size, unsigned seed = 1);

// A pattern image of size bytes whose entry branch (bytes 0-3) is branch.
Bytes imageWithBranch(std::size_t size, std::uint32_t branch, unsigned seed = 1);

// A pattern image of size bytes whose entry branch jumps to target (a multiple of 4, 8 or more).
Bytes imageWithTarget(std::size_t size, std::uint32_t target, unsigned seed = 1);

// The 4 bytes of an entry branch, bytes 0-3 as written: branchBytes(0xEA00002E) is 2E 00 00 EA.
Bytes branchBytes(std::uint32_t branch);

Bytes slice(std::span<const std::byte> bytes, std::size_t offset, std::size_t length);
bool allBytesAre(std::span<const std::byte> bytes, std::byte value);

// A new empty folder, removed with everything in it when the object goes.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::filesystem::path path(const std::string& name) const { return root_ / name; }
    std::filesystem::path write(const std::string& name, std::span<const std::byte> bytes) const;
    Bytes read(const std::string& name) const;
    // Names of the entries in the folder, sorted.
    std::vector<std::string> entries() const;
    // Every file in the folder with its contents, to compare before and after a call.
    std::map<std::string, Bytes> snapshot() const;

  private:
    std::filesystem::path root_;
};

}  // namespace quillet::test
