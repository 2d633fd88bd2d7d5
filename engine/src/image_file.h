// The engine's only file access: reading an input whole and replacing the output atomically.
// Every failure leaves errno set to its cause (0 when no system call failed).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "quillet.h"

namespace quillet {

// A zero-filled array that holds an image: the engine's one allocation per image.
class ImageBuffer {
  public:
    // Throws std::bad_alloc when memory runs short.
    explicit ImageBuffer(std::size_t size);
    ImageBuffer(const ImageBuffer&) = delete;
    ImageBuffer& operator=(const ImageBuffer&) = delete;
    ~ImageBuffer();

    std::span<std::byte> bytes() const { return {data_, size_}; }

  private:
    std::byte* data_;
    std::size_t size_;
    void* allocation_;
    std::size_t allocationSize_;
};

// An input file, open for reading, with its size taken once at opening. Closed when it goes, so
// that the output may replace it after.
class InputFile {
  public:
    InputFile() = default;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    // Opens path for reading without waiting on a pipe, and takes its size. Anything but a
    // regular file is refused as unopenable.
    QuilletStatus open(const char* path);

    std::uint64_t size() const { return size_; }

    // Reads the first bytes of the file into the front of buffer: all of them when the buffer
    // is large enough. A file that ends early cannot be read.
    QuilletStatus read(std::span<std::byte> buffer) const;

  private:
    int descriptor_ = -1;
    std::uint64_t size_ = 0;
};

// A file read whole, into a buffer of its own size.
struct WholeFile {
    QuilletStatus status = QUILLET_OK;
    int errorNumber = 0;                  // errno of a failure
    std::uint64_t size = 0;               // the file's size, once it is open
    std::unique_ptr<ImageBuffer> buffer;  // its bytes, when status is QUILLET_OK

    std::span<std::byte> bytes() const { return buffer->bytes(); }
};

// Reads the file at path whole; the file is closed again when this returns. A file of
// kMaxInputSize bytes or more, or one that memory cannot hold, is too large.
WholeFile readWholeFile(const char* path);

class TemporaryFile;

// The two steps of replaceFile apart, for a caller that decides between them whether it wants the
// output: write() writes the bytes to a new file in the output's folder and syncs it, replace()
// moves it over the output. A new file that has not replaced the output goes with the object.
// Failures are replaceFile's; replace() without a successful write() writes nothing and returns
// QUILLET_OUTPUT_NOT_WRITTEN.
class PendingOutput {
  public:
    PendingOutput();
    PendingOutput(const PendingOutput&) = delete;
    PendingOutput& operator=(const PendingOutput&) = delete;
    ~PendingOutput();

    QuilletStatus write(const char* outputPath, std::span<const std::byte> bytes);
    QuilletStatus replace();

  private:
    std::string target_;
    std::unique_ptr<TemporaryFile> file_;
};

// Writes bytes to a new file in the folder of outputPath and then moves it over outputPath in
// one step, keeping the permissions of the file it replaces; a symbolic link at outputPath is
// followed. An existing output that the caller may not write, a folder, a device or a pipe is
// never replaced. On any failure the new file is gone and an existing file at outputPath stays as
// it was; the result is then QUILLET_OUTPUT_NOT_WRITTEN. On Windows a symbolic link at
// outputPath is refused instead of followed, and permissions are not copied.
QuilletStatus replaceFile(const char* outputPath, std::span<const std::byte> bytes);

}  // namespace quillet
