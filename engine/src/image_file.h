// The engine's only file access: reading an input whole and replacing the output atomically.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

#include "quillet.h"

namespace quillet {

// An input file, open for reading, with its size taken once at opening. Closed on destruction.
class InputFile {
  public:
    InputFile() = default;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile() { close(); }

    // Opens path for reading and takes its size. Refuses a directory as unopenable and a file
    // of 2 GiB or more as too large.
    QuilletStatus open(const char* path);

    std::uint64_t size() const { return size_; }

    // Reads the whole file with one read call into the front of a new zero-filled array of
    // arraySize bytes (at least size()), then closes the file. Throws when memory runs short.
    QuilletStatus readWhole(std::vector<std::byte>& contents, std::size_t arraySize);
    QuilletStatus readWhole(std::vector<std::byte>& contents) { return readWhole(contents, size_); }

    // Reads the first start.size() bytes (at most size()) with one read call, then closes the
    // file: enough to look at an image's entry branch without reading the rest.
    QuilletStatus readFront(std::span<std::byte> start);

    void close();

  private:
    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
};

// Writes bytes to a new temporary file in the folder of outputPath with one write call, then
// moves it over outputPath, keeping the permissions of the file it replaces; a symbolic link at
// outputPath is followed. A folder, device or pipe at outputPath is never replaced. On any
// failure the temporary file is removed, an existing file at outputPath stays as it was, and
// the result is QUILLET_OUTPUT_NOT_WRITTEN.
QuilletStatus replaceFile(const char* outputPath, std::span<const std::byte> bytes);

}  // namespace quillet
