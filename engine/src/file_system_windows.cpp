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

// Whether path is written in the system's own namespaces, \\.\ or \\?\, where the system does not
// map reserved names.
bool inSystemNamespace(const std::wstring& path) {
    return path.size() >= 4 && (path[0] == L'\\' || path[0] == L'/') &&
           (path[1] == L'\\' || path[1] == L'/') && (path[2] == L'.' || path[2] == L'?') &&
           (path[3] == L'\\' || path[3] == L'/');
}

// Whether the system takes path for a device by its name: NUL, CON, COM1 and the other reserved
// names, with any extension and in any folder, have a full path in its device namespace.
bool namedAsDevice(const std::wstring& path) {
    if (inSystemNamespace(path)) {
        return false;
    }
    std::wstring full(GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
    full.resize(
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    return inSystemNamespace(full);
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
    if (namedAsDevice(name)) {
        errno = ENOTSUP;
        return -1;
    }
    const HANDLE handle = CreateFileW(name.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        // Only a file on a disk is an image. The system tells what the handle is: a console, a
        // pipe or a printer is refused here, before the C runtime is asked about it.
        if (GetFileType(handle) != FILE_TYPE_DISK) {
            CloseHandle(handle);
            errno = ENOTSUP;
            return -1;
        }
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
    if (namedAsDevice(path)) {
        errno = ENOTSUP;
        return {};
    }
    // Neither reading nor writing: only what the name leads to is asked, the link itself where
    // it is one.
    const HANDLE handle = CreateFileW(
        path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? outputPath : (failedWith(error), std::string());
    }
    FILE_ATTRIBUTE_TAG_INFO file{};
    const bool disk = GetFileType(handle) == FILE_TYPE_DISK;
    if (disk &&
        GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &file, sizeof file) == 0) {
        const DWORD error = GetLastError();
        CloseHandle(handle);
        return failedWith(error), std::string();
    }
    CloseHandle(handle);
    // A symbolic link would be replaced itself, not what it leads to; other reparse points, such
    // as files kept in the cloud, are files like any other. A mount point is a folder.
    const DWORD attributes = file.FileAttributes;
    const bool link = (attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) ==
                          FILE_ATTRIBUTE_REPARSE_POINT &&
                      file.ReparseTag == IO_REPARSE_TAG_SYMLINK;
    errno = !disk || link                                  ? ENOTSUP
            : (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EISDIR
            : (attributes & FILE_ATTRIBUTE_READONLY) != 0  ? EACCES
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
