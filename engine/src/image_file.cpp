#include "image_file.h"

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <new>
#include <random>
#include <string>
#include <system_error>

#include "intro.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace quillet {

namespace {

int seekTo(std::FILE* file, std::int64_t offset, int origin) {
#if defined(_WIN32)
    return _fseeki64(file, offset, origin);
#else
    return fseeko(file, static_cast<off_t>(offset), origin);
#endif
}

std::int64_t position(std::FILE* file) {
#if defined(_WIN32)
    return _ftelli64(file);
#else
    return ftello(file);
#endif
}

// Makes sure the bytes are on the disk before the rename makes them the output, so that a
// crash cannot leave an empty file under the output's name.
bool flushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) {
        return false;
    }
#if defined(_WIN32)
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

// Creates a new file with an unused name beside target. tempPath receives its path only once
// the file exists, so that a failure never removes a file of somebody else's.
std::FILE* createTemporaryBeside(const std::filesystem::path& target,
                                 std::filesystem::path& tempPath) {
    std::minstd_rand random(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                              reinterpret_cast<std::uintptr_t>(&tempPath)));
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate = target;
        candidate.replace_filename(".quillet-" + std::to_string(random()) + ".tmp");
        // "x": fail rather than reuse a file that already exists.
        if (std::FILE* file = std::fopen(candidate.string().c_str(), "wbx")) {
            tempPath = std::move(candidate);
            return file;
        }
        if (errno != EEXIST) {
            return nullptr;
        }
    }
    return nullptr;
}

}  // namespace

QuilletStatus InputFile::open(const char* path) {
    close();
    if (path == nullptr || *path == '\0') {
        return QUILLET_INPUT_NOT_OPENED;
    }
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return QUILLET_INPUT_NOT_OPENED;
    }
    file_ = std::fopen(path, "rb");
    if (file_ == nullptr) {
        return QUILLET_INPUT_NOT_OPENED;
    }
    if (seekTo(file_, 0, SEEK_END) != 0) {
        return QUILLET_INPUT_NOT_READ;
    }
    const std::int64_t end = position(file_);
    if (end < 0 || seekTo(file_, 0, SEEK_SET) != 0) {
        return QUILLET_INPUT_NOT_READ;
    }
    size_ = static_cast<std::uint64_t>(end);
    return size_ >= kMaxInputSize ? QUILLET_INPUT_TOO_LARGE : QUILLET_OK;
}

QuilletStatus InputFile::readWhole(std::vector<std::byte>& contents, std::size_t arraySize) {
    try {
        contents.assign(arraySize, std::byte{0});
    } catch (const std::bad_alloc&) {
        return QUILLET_INPUT_TOO_LARGE;
    }
    const std::size_t read = size_ == 0 ? 0 : std::fread(contents.data(), 1, size_, file_);
    close();
    return read == size_ ? QUILLET_OK : QUILLET_INPUT_NOT_READ;
}

void InputFile::close() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

QuilletStatus replaceFile(const char* outputPath, std::span<const std::byte> bytes) noexcept {
    if (outputPath == nullptr || *outputPath == '\0') {
        return QUILLET_OUTPUT_NOT_WRITTEN;
    }
    std::filesystem::path tempPath;
    try {
        const std::filesystem::path target(outputPath);
        std::FILE* file = createTemporaryBeside(target, tempPath);
        if (file == nullptr) {
            return QUILLET_OUTPUT_NOT_WRITTEN;
        }
        const bool written =
            (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size()) &&
            flushToDisk(file);
        const bool closed = std::fclose(file) == 0;
        std::error_code error;
        if (written && closed) {
            std::filesystem::rename(tempPath, target, error);
            if (!error) {
                return QUILLET_OK;
            }
        }
        std::filesystem::remove(tempPath, error);
    } catch (...) {
        // Only allocation can throw here, possibly after the temporary file was made.
        std::error_code error;
        if (!tempPath.empty()) {
            std::filesystem::remove(tempPath, error);
        }
    }
    return QUILLET_OUTPUT_NOT_WRITTEN;
}

}  // namespace quillet
