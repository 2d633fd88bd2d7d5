#include "image_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <random>
#include <string>

#include "intro.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <io.h>
#include <windows.h>
// Windows has no pipes to wait on when opening and no descriptors to leak into children.
#define O_NONBLOCK 0
#define O_CLOEXEC 0
#define fsync _commit
#else
#include <sys/mman.h>
#include <unistd.h>
#define O_BINARY 0
#endif

namespace quillet {

namespace {

// Keeps errno across the clean-up that follows a failure, so that the caller learns its cause.
class KeptErrno {
  public:
    ~KeptErrno() { errno = saved_; }

  private:
    int saved_ = errno;
};

QuilletStatus failure(QuilletStatus status, int error) {
    errno = error;
    return status;
}

// The file that the output's bytes replace. A symbolic link is followed, so that the link stays
// and its target gets the new contents. Empty, with errno set, when the name leads to something
// that must not be replaced: a folder, a device, a pipe, a link that leads nowhere, or a file
// that the caller may not write.
std::string replaceableTarget(const char* outputPath) {
#if defined(_WIN32)
    const DWORD attributes = GetFileAttributesA(outputPath);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return outputPath;
    }
    errno = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0                                 ? EISDIR
            : (attributes & (FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT)) != 0 ? ENOTSUP
            : (attributes & FILE_ATTRIBUTE_READONLY) != 0                                ? EACCES
                                                                                         : 0;
    return errno == 0 ? outputPath : std::string();
#else
    struct stat info;
    if (lstat(outputPath, &info) != 0) {
        return errno == ENOENT ? outputPath : std::string();
    }
    std::string target = outputPath;
    if (S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (realpath(outputPath, resolved) == nullptr || stat(resolved, &info) != 0) {
            return {};
        }
        target = resolved;
    }
    if (!S_ISREG(info.st_mode)) {
        errno = S_ISDIR(info.st_mode) ? EISDIR : ENOTSUP;
        return {};
    }
    return faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0 ? target : std::string();
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

// Tries names in folder that no file has until create succeeds with one, which goes to name.
template <typename Create>
bool withUnusedName(const std::string& folder, std::string& name, Create create) {
    std::minstd_rand random(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + ".quillet-" + std::to_string(random()) + ".tmp";
        if (create(name)) {
            return true;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    name.clear();
    return false;
}

// A new file in folder for the output's bytes. Where the file system allows it, the file has no
// name yet (name stays empty), so that the system frees it if the process ends before the file
// is complete; elsewhere it gets an unused name at once.
int createTemporary(const std::string& folder, std::string& name) {
#if defined(O_TMPFILE)
    const int unnamed =
        ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (unnamed >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) {
        return unnamed;
    }
#endif
    int descriptor = -1;
    withUnusedName(folder, name, [&](const std::string& candidate) {
        descriptor =
            ::open(candidate.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_BINARY | O_CLOEXEC, 0666);
        return descriptor >= 0;
    });
    return descriptor;
}

// Gives the unnamed file open as descriptor an unused name in folder.
bool giveName(int descriptor, const std::string& folder, std::string& name) {
#if defined(_WIN32)
    (void)descriptor, (void)folder, (void)name;  // Windows files always have a name.
    return true;
#else
    const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
    return withUnusedName(folder, name, [&](const std::string& candidate) {
        return linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0;
    });
#endif
}

// The replaced file's permissions carry over to its successor.
bool keepPermissions(const std::string& target, int successor) {
#if defined(_WIN32)
    (void)target, (void)successor;  // A read-only output is refused instead.
    return true;
#else
    struct stat info;
    if (stat(target.c_str(), &info) != 0) {
        return errno == ENOENT;
    }
    return fchmod(successor, info.st_mode & 07777) == 0;
#endif
}

bool writeAll(int descriptor, std::span<const std::byte> bytes) {
    while (!bytes.empty()) {
        const auto written =
            ::write(descriptor, bytes.data(),
                    static_cast<unsigned>(std::min<std::size_t>(bytes.size(), INT_MAX)));
        if (written < 0 && errno != EINTR) {
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(std::max<decltype(written)>(written, 0)));
    }
    return true;
}

// Closes descriptor; when something failed before, that failure's errno is the one kept.
bool closeAfter(bool succeeded, int descriptor) {
    if (!succeeded) {
        const KeptErrno kept;
        ::close(descriptor);
        return false;
    }
    return ::close(descriptor) == 0;
}

// Puts the file from in the place of to in one step, replacing what was there.
bool moveOver(const std::string& from, const std::string& to) {
#if defined(_WIN32)
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    // The errno that tells the user the reason, as the C runtime's own calls leave it.
    switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            errno = ENOENT;
            break;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            errno = EACCES;
            break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            errno = ENOSPC;
            break;
        case ERROR_WRITE_PROTECT:
            errno = EROFS;
            break;
        default:
            errno = EIO;
    }
    return false;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace

ImageBuffer::ImageBuffer(std::size_t size) : size_(size) {
#if defined(__linux__)
    // Fresh anonymous pages are zero already, so nothing clears them twice; in 2 MiB pages,
    // where the system has them, reading a large image takes 512 times fewer page faults.
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    allocationSize_ = size + kHugePage;
    allocation_ =
        mmap(nullptr, allocationSize_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (allocation_ == MAP_FAILED) {
        throw std::bad_alloc();
    }
    const auto start =
        (reinterpret_cast<std::uintptr_t>(allocation_) + kHugePage - 1) & ~(kHugePage - 1);
    data_ = reinterpret_cast<std::byte*>(start);
    madvise(data_, size, MADV_HUGEPAGE);
#else
    allocationSize_ = size;
    allocation_ = std::calloc(std::max<std::size_t>(size, 1), 1);
    if (allocation_ == nullptr) {
        throw std::bad_alloc();
    }
    data_ = static_cast<std::byte*>(allocation_);
#endif
}

ImageBuffer::~ImageBuffer() {
#if defined(__linux__)
    munmap(allocation_, allocationSize_);
#else
    std::free(allocation_);
#endif
}

InputFile::~InputFile() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

QuilletStatus InputFile::open(const char* path) {
    if (path == nullptr || *path == '\0') {
        return failure(QUILLET_INPUT_NOT_OPENED, ENOENT);
    }
    descriptor_ = ::open(path, O_RDONLY | O_BINARY | O_NONBLOCK | O_CLOEXEC);
    struct stat info;
    if (descriptor_ < 0 || fstat(descriptor_, &info) != 0) {
        return QUILLET_INPUT_NOT_OPENED;
    }
    if (!S_ISREG(info.st_mode)) {
        return failure(QUILLET_INPUT_NOT_OPENED, S_ISDIR(info.st_mode) ? EISDIR : ENOTSUP);
    }
    size_ = static_cast<std::uint64_t>(info.st_size);
    return size_ >= kMaxInputSize ? failure(QUILLET_INPUT_TOO_LARGE, EFBIG) : QUILLET_OK;
}

QuilletStatus InputFile::read(std::span<std::byte> buffer) const {
    std::span<std::byte> rest = buffer.first(std::min<std::uint64_t>(buffer.size(), size_));
    while (!rest.empty()) {
        const auto got = ::read(descriptor_, rest.data(),
                                static_cast<unsigned>(std::min<std::size_t>(rest.size(), INT_MAX)));
        if (got <= 0 && !(got < 0 && errno == EINTR)) {
            // Where the file ends before its size, no system call failed.
            return failure(QUILLET_INPUT_NOT_READ, got < 0 ? errno : 0);
        }
        rest = rest.subspan(static_cast<std::size_t>(std::max<decltype(got)>(got, 0)));
    }
    return QUILLET_OK;
}

QuilletStatus replaceFile(const char* outputPath, std::span<const std::byte> bytes) {
    if (outputPath == nullptr || *outputPath == '\0') {
        return failure(QUILLET_OUTPUT_NOT_WRITTEN, ENOENT);
    }
    const std::string target = replaceableTarget(outputPath);
    if (target.empty()) {
        return QUILLET_OUTPUT_NOT_WRITTEN;
    }
    const std::string folder = folderOf(target);
    std::string name;
    const int descriptor = createTemporary(folder, name);
    if (descriptor < 0) {
        return QUILLET_OUTPUT_NOT_WRITTEN;
    }
    // Every byte is on the disk before the move makes it the output, so that after a crash the
    // output's name holds either the old file or the whole new one.
    const bool complete = closeAfter(keepPermissions(target, descriptor) &&
                                         writeAll(descriptor, bytes) && fsync(descriptor) == 0 &&
                                         (!name.empty() || giveName(descriptor, folder, name)),
                                     descriptor);
    if (complete && moveOver(name, target)) {
        return QUILLET_OK;
    }
    const KeptErrno kept;
    if (!name.empty()) {
        std::remove(name.c_str());
    }
    return QUILLET_OUTPUT_NOT_WRITTEN;
}

}  // namespace quillet
