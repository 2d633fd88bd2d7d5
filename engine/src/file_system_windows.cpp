#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>

#include "file_system.h"

namespace quillet {

namespace {

// Whether the system deletes the file open as handle when its last handle closes, whatever
// ends the process. Unlike FILE_FLAG_DELETE_ON_CLOSE, this can be taken back.
bool markForDeletion(HANDLE handle, bool deleted) {
    FILE_DISPOSITION_INFO disposition{deleted};
    return SetFileInformationByHandle(handle, FileDispositionInfo, &disposition,
                                      sizeof disposition) != 0 ||
           failedWith(GetLastError());
}

// A C runtime descriptor for handle, which it then owns; -1 when none is left.
int descriptorFor(HANDLE handle, int flags) {
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
    if (descriptor < 0) {
        CloseHandle(handle);
        errno = EMFILE;
    }
    return descriptor;
}

}  // namespace

std::wstring widePath(const char* path) {
    const int size = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(size, 1)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), size);
    wide.pop_back();
    return wide;
}

int errnoFor(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:  // a name with wildcards that matched nothing, among others
        case ERROR_BAD_NETPATH:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        default:
            return EIO;
    }
}

bool failedWith(DWORD error) {
    errno = errnoFor(error);
    return false;
}

int openForReading(const char* path) {
    const std::wstring name = widePath(path);
    const HANDLE handle = CreateFileW(name.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        return descriptorFor(handle, _O_RDONLY | _O_BINARY);
    }
    // A folder opens only for its metadata; as an image it is simply not a file.
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(name.c_str());
    errno = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                ? EISDIR
                : errnoFor(error);
    return -1;
}

std::string replaceableTarget(const char* outputPath) {
    const std::wstring path = widePath(outputPath);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? outputPath : (failedWith(error), std::string());
    }
    // A symbolic link would be replaced itself, not what it leads to; other reparse points, such
    // as files kept in the cloud, are files like any other. A mount point is a folder.
    bool link = false;
    if ((attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) ==
        FILE_ATTRIBUTE_REPARSE_POINT) {
        WIN32_FIND_DATAW found{};
        const HANDLE search = FindFirstFileW(path.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            return failedWith(GetLastError()), std::string();
        }
        FindClose(search);
        link = found.dwReserved0 == IO_REPARSE_TAG_SYMLINK;
    }
    errno = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0        ? EISDIR
            : (attributes & FILE_ATTRIBUTE_DEVICE) != 0 || link ? ENOTSUP
            : (attributes & FILE_ATTRIBUTE_READONLY) != 0       ? EACCES
                                                                : 0;
    return errno == 0 ? outputPath : std::string();
}

TemporaryFile::~TemporaryFile() {
    if (descriptor_ >= 0) {
        const KeptErrno kept;
        markForDeletion(reinterpret_cast<HANDLE>(_get_osfhandle(descriptor_)), true);
        _close(descriptor_);
    }
}

bool TemporaryFile::create(const std::string& folder) {
    return withUnusedName(folder, name_, [this](const std::string& candidate) {
        const HANDLE handle =
            CreateFileW(widePath(candidate.c_str()).c_str(), GENERIC_WRITE | DELETE,
                        FILE_SHARE_DELETE, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return failedWith(GetLastError());
        }
        if (!markForDeletion(handle, true)) {
            const KeptErrno kept;
            CloseHandle(handle);
            DeleteFileW(widePath(candidate.c_str()).c_str());
            return false;
        }
        descriptor_ = descriptorFor(handle, _O_WRONLY | _O_BINARY);
        return descriptor_ >= 0;
    });
}

bool TemporaryFile::takePermissionsOf(const std::string&) {
    // Windows files have no mode bits; a read-only output is refused instead.
    return true;
}

bool TemporaryFile::replace(const std::string& target) {
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(descriptor_));
    // MOVEFILE_WRITE_THROUGH returns once the new name is on the disk.
    if (!markForDeletion(handle, false) ||
        (MoveFileExW(widePath(name_.c_str()).c_str(), widePath(target.c_str()).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0 &&
         failedWith(GetLastError()))) {
        return false;
    }
    // The output is in place: nothing that closing could report undoes that.
    _close(descriptor_);
    descriptor_ = -1;
    return true;
}

}  // namespace quillet
