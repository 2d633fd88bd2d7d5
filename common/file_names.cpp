#include "file_names.h"

#include <optional>

#include "file_system.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace quillet {

namespace {

// What identifies the existing file or folder at path, whatever name leads there: device and
// number on POSIX systems, volume serial number and file index on Windows.
std::optional<std::string> existingFileIdentity(const std::string& path) {
#if defined(_WIN32)
    // Neither reading nor writing, and any sharing: only the file's identity is asked for.
    const HANDLE handle = CreateFileW(widePath(path.c_str()).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info;
    const bool known = GetFileInformationByHandle(handle, &info) != 0;
    CloseHandle(handle);
    if (!known) {
        return std::nullopt;
    }
    return "file " + std::to_string(info.dwVolumeSerialNumber) + ":" +
           std::to_string(info.nFileIndexHigh) + ":" + std::to_string(info.nFileIndexLow);
#else
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return "file " + std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
#endif
}

// A file name as the file system compares it: Windows does not tell letter cases apart.
std::string comparableFileName(const std::string& name) {
#if defined(_WIN32)
    std::wstring wide = widePath(name.c_str());
    CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
#else
    return name;
#endif
}

}  // namespace

std::string_view fileNameOf(std::string_view path) {
    const std::size_t lastSeparator = path.find_last_of("/\\");
    return lastSeparator == std::string_view::npos ? path : path.substr(lastSeparator + 1);
}

std::string outputNameFor(std::string_view inputName) {
    const std::size_t dot = inputName.find('.', inputName.size() - fileNameOf(inputName).size());
    if (dot == std::string_view::npos) {
        return std::string(inputName) + "-p";
    }
    return std::string(inputName.substr(0, dot)) + "-p" + std::string(inputName.substr(dot));
}

std::string fileIdentity(const std::string& name) {
    if (name.empty()) {
        return {};
    }
    if (const auto identity = existingFileIdentity(name)) {
        return *identity;
    }
    // A file-to-be is its folder and its name in that folder.
    const std::string folder = folderOf(name);
    return existingFileIdentity(folder.empty() ? "." : folder).value_or("folder " + folder) + "/" +
           comparableFileName(name.substr(folder.size()));
}

bool isFolder(const std::string& path) {
#if defined(_WIN32)
    const DWORD attributes = GetFileAttributesW(widePath(path.c_str()).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
#else
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
#endif
}

bool namesSameFile(const std::string& first, const std::string& second) {
    return !first.empty() && fileIdentity(first) == fileIdentity(second);
}

}  // namespace quillet
