// Synthetic images, what the library must make of them, and scratch folders to hold them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace quillet::test {

// File contents, one char per byte.
using Bytes = std::string;

// The entry branch of an image without an intro: it jumps over the 192-byte header.
inline const Bytes kStandardBranch("\x2E\x00\x00\xEA", 4);

// The next sizeof(T) bytes of a fuzz input as a T, zeros where the input has ended.
template <typename T>
T take(const std::uint8_t*& data, std::size_t& size) {
    T value{};
    const std::size_t length = std::min(sizeof(T), size);
    std::memcpy(&value, data, length);
    data += length;
    size -= length;
    return value;
}

// Ends a fuzz run loudly when a rule does not hold.
void check(bool holds, const char* rule);

// The offset that image's entry branch jumps to, read from bytes 0-2 (which it must hold).
std::size_t branchTarget(const Bytes& image);

// What removal must make of image, worked out from the rules rather than the library's code: the
// standard entry branch, then the image cut at the old branch target (no fill) or every byte from
// that target on set to fill.
Bytes removed(Bytes image, std::optional<char> fill);

// What insertion must make of game and intro: the game padded with zeros to a multiple of 4 with
// its entry branch pointing there, the intro without its 192-byte header, then the trailer.
Bytes added(Bytes game, const Bytes& intro);

// A new folder, removed with everything in it when the object goes. A standard one holds the
// images of tests/engine/standard, with an intro and without, too short, with no branch or one
// into the header, links and a folder, and besides a pipe and two sparse files too large.
class ScratchFolder {
  public:
    explicit ScratchFolder(bool standard = false);
    ~ScratchFolder() { std::filesystem::remove_all(root_, ignored_); }

    // Names are UTF-8, which Windows programs do not take narrow paths in.
    std::filesystem::path path(const std::string& name = {}) const {
        return root_ / std::u8string(name.begin(), name.end());
    }
    std::filesystem::path write(const std::string& name, const Bytes& bytes) const;
    Bytes read(const std::string& name) const;

    // Every entry with its mode and what it holds: a file's bytes (only its size beyond 64 MiB),
    // a link's target, or the kind of entry. Anything added, removed or changed shows.
    std::map<std::string, Bytes> snapshot() const;

  private:
    std::filesystem::path root_;
    std::error_code ignored_;  // a folder that cannot be removed fails no test
};

}  // namespace quillet::test
