#include "image_file.h"

#include <cerrno>
#include <chrono>
#include <random>
#include <string>

#include "intro.h"

#if defined(_WIN32)
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <io.h>
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
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

bool isFolder(std::FILE* file) {
#if defined(_WIN32)
    (void)file;  // Windows opens no folder as a file.
    return false;
#else
    struct stat info;
    return fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
#endif
}

// The file that the output's bytes replace. A symbolic link is followed, so that the link stays
// and its target gets the new contents. Empty when the name leads to something that must never
// be replaced by a plain file: a folder, a device, a pipe, or a link that leads nowhere.
std::string replaceableTarget(const char* outputPath) {
#if defined(_WIN32)
    const DWORD attributes = GetFileAttributesA(outputPath);
    const DWORD irreplaceable =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & irreplaceable) != 0) {
        return {};
    }
    return outputPath;
#else
    std::string target = outputPath;
    struct stat info;
    if (lstat(outputPath, &info) != 0) {
        return target;
    }
    if (S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (realpath(outputPath, resolved) == nullptr || stat(resolved, &info) != 0) {
            return {};
        }
        target = resolved;
    }
    return S_ISREG(info.st_mode) ? target : std::string();
#endif
}

// The folder part of path, with its separator; empty for a name in the current folder.
std::string folderOf(const std::string& path) {
#if defined(_WIN32)
    const std::size_t separator = path.find_last_of("/\\:");
#else
    const std::size_t separator = path.find_last_of('/');
#endif
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

// Creates a new file with an unused name in folder; its name goes to tempPath.
std::FILE* createTemporaryIn(const std::string& folder, std::string& tempPath) {
    std::minstd_rand random(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                              reinterpret_cast<std::uintptr_t>(&tempPath)));
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + ".quillet-" + std::to_string(random()) + ".tmp";
        // "x": fail rather than reuse a file that exists, which may be somebody else's.
        if (std::FILE* file = std::fopen(tempPath.c_str(), "wbx")) {
            return file;
        }
        if (errno != EEXIST) {
            return nullptr;
        }
    }
    return nullptr;
}

// The replaced file's permissions carry over to its successor.
void keepPermissions(const std::string& target, std::FILE* successor) {
#if defined(_WIN32)
    (void)target;
    (void)successor;  // A read-only output is refused by the move instead.
#else
    struct stat info;
    if (stat(target.c_str(), &info) == 0) {
        fchmod(fileno(successor), info.st_mode & 07777);
    }
#endif
}

// Makes sure the bytes are on the disk before the move makes them the output, so that a crash
// cannot leave an empty file under the output's name.
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

// Puts the file from in the place of to in one step, replacing what was there.
bool moveOver(const std::string& from, const std::string& to) {
#if defined(_WIN32)
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace

QuilletStatus InputFile::open(const char* path) {
    close();
    if (path == nullptr || *path == '\0') {
        return QUILLET_INPUT_NOT_OPENED;
    }
    file_ = std::fopen(path, "rb");
    if (file_ == nullptr || isFolder(file_)) {
        close();
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
    // Too little memory throws, and the exported functions report the input as too large.
    contents.assign(arraySize, std::byte{0});
    return readFront(std::span(contents).first(static_cast<std::size_t>(size_)));
}

QuilletStatus InputFile::readFront(std::span<std::byte> start) {
    const std::size_t read = start.empty() ? 0 : std::fread(start.data(), 1, start.size(), file_);
    close();
    return read == start.size() ? QUILLET_OK : QUILLET_INPUT_NOT_READ;
}

void InputFile::close() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

QuilletStatus replaceFile(const char* outputPath, std::span<const std::byte> bytes) {
    if (outputPath == nullptr || *outputPath == '\0') {
        return QUILLET_OUTPUT_NOT_WRITTEN;
    }
    const std::string target = replaceableTarget(outputPath);
    if (target.empty()) {
        return QUILLET_OUTPUT_NOT_WRITTEN;
    }
    std::string tempPath;
    std::FILE* file = createTemporaryIn(folderOf(target), tempPath);
    if (file == nullptr) {
        return QUILLET_OUTPUT_NOT_WRITTEN;
    }
    keepPermissions(target, file);
    const bool written =
        (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size()) &&
        flushToDisk(file);
    const bool closed = std::fclose(file) == 0;
    if (written && closed && moveOver(tempPath, target)) {
        return QUILLET_OK;
    }
    std::remove(tempPath.c_str());
    return QUILLET_OUTPUT_NOT_WRITTEN;
}

}  // namespace quillet
