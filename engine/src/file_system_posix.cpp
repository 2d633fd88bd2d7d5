#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "file_system.h"

namespace quillet {

int openForReading(const char* path) {
    return ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

std::string replaceableTarget(const char* outputPath) {
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
}

TemporaryFile::~TemporaryFile() {
    const KeptErrno kept;
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
    if (!name_.empty()) {
        std::remove(name_.c_str());
    }
}

bool TemporaryFile::create(const std::string& folder) {
#if defined(O_TMPFILE)
    // An unnamed file gets its name through /proc, without which it could never have one.
    if (access("/proc/self/fd", F_OK) == 0) {
        descriptor_ =
            ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (descriptor_ >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) {
            return descriptor_ >= 0;
        }
    }
#endif
    // A file system without unnamed files: a kill before the move leaves this name behind.
    return withUnusedName(folder, name_, [this](const std::string& candidate) {
        descriptor_ = ::open(candidate.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
        return descriptor_ >= 0;
    });
}

bool TemporaryFile::takePermissionsOf(const std::string& target) {
    struct stat info;
    if (stat(target.c_str(), &info) != 0) {
        return errno == ENOENT;
    }
    return fchmod(descriptor_, info.st_mode & 07777) == 0;
}

bool TemporaryFile::replace(const std::string& target) {
    const std::string folder = folderOf(target);
    if (name_.empty()) {
        const std::string self = "/proc/self/fd/" + std::to_string(descriptor_);
        if (!withUnusedName(folder, name_, [&self](const std::string& candidate) {
                return linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(),
                              AT_SYMLINK_FOLLOW) == 0;
            })) {
            return false;
        }
    }
    const int descriptor = descriptor_;
    descriptor_ = -1;
    if (::close(descriptor) != 0 || std::rename(name_.c_str(), target.c_str()) != 0) {
        return false;
    }
    name_.clear();
    // The new name lives in the folder's own data: synced, it survives a power cut. The output
    // is in place by now, so a folder that cannot be synced fails nothing.
    const int folderDescriptor =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderDescriptor >= 0) {
        fsync(folderDescriptor);
        ::close(folderDescriptor);
    }
    return true;
}

}  // namespace quillet
