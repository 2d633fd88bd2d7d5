#include "file_names.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <iterator>
#include <optional>

#include "file_system.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quillet {

namespace {

// What separates the folders of a path, the system's own first.
#if defined(_WIN32)
constexpr const char* kSeparators = "\\/";
#else
constexpr const char* kSeparators = "/";
#endif

#if defined(_WIN32)
// A name as Windows compares names, which does not tell letter cases apart.
std::string comparableName(const std::wstring& name) {
    std::wstring upper(name.size(), L'\0');
    LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, name.data(),
                  static_cast<int>(name.size()), upper.data(), static_cast<int>(upper.size()),
                  nullptr, nullptr, 0);
    return std::string(reinterpret_cast<const char*>(upper.data()), upper.size() * sizeof(wchar_t));
}
#endif

// A file name as the file system compares it.
std::string comparableFileName(const std::string& name) {
#if defined(_WIN32)
    return comparableName(widePath(name.c_str()));
#else
    return name;
#endif
}

// What identifies the existing file or folder at path, whatever name leads there: device and
// number on POSIX systems, volume serial number and 128-bit file ID on Windows, or where a file
// system has no IDs, the file's own full name.
std::optional<std::string> existingFileIdentity(const std::string& path) {
#if defined(_WIN32)
    // Neither reading nor writing, and any sharing: only the file's identity is asked for.
    const HANDLE handle = CreateFileW(widePath(path.c_str()).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    FILE_ID_INFO id{};
    std::string identity;
    if (GetFileInformationByHandleEx(handle, FileIdInfo, &id, sizeof id) != 0 &&
        std::ranges::any_of(id.FileId.Identifier, [](BYTE byte) { return byte != 0; })) {
        identity = "file " + std::to_string(id.VolumeSerialNumber) + ":" +
                   std::string(std::begin(id.FileId.Identifier), std::end(id.FileId.Identifier));
    } else {
        std::wstring name(32768, L'\0');
        name.resize(GetFinalPathNameByHandleW(handle, name.data(), 32768, 0));
        identity = name.empty() ? "" : "name " + comparableName(name);
    }
    CloseHandle(handle);
    return identity.empty() ? std::nullopt : std::optional(identity);
#else
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return "file " + std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
#endif
}

bool isSeparator(char c) {
    return std::string_view(kSeparators).find(c) != std::string_view::npos;
}

// The length of the root that path begins with, which has no parent folder: "/"; on Windows
// also "\", "X:" and "X:\", "\\server\share\", and "\\?\" or "\\.\" with the name that follows
// ("\\?\X:\", "\\?\UNC\server\share\"). 0 for a relative path.
std::size_t rootLength(const std::string& path) {
#if defined(_WIN32)
    // Where the name that begins at start ends, after its separator.
    const auto afterName = [&path](std::size_t start) {
        const std::size_t end = path.find_first_of(kSeparators, start);
        return end == std::string::npos ? path.size() : end + 1;
    };
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        if (path.size() < 4 || (path[2] != '?' && path[2] != '.') || !isSeparator(path[3])) {
            return afterName(afterName(2));
        }
        std::string first = path.substr(4, afterName(4) - 4);
        std::ranges::transform(first, first.begin(),
                               [](unsigned char c) { return std::toupper(c); });
        return first == "UNC\\" || first == "UNC/" ? afterName(afterName(8)) : 4 + first.size();
    }
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        return path.size() > 2 && isSeparator(path[2]) ? 3 : 2;
    }
#endif
    return !path.empty() && isSeparator(path[0]) ? 1 : 0;
}

// Makes the one folder; false, with errno set, when it cannot, and parentMissing set when what
// stopped it is only a missing folder on its way.
bool makeFolder(const std::string& folder, bool& parentMissing) {
#if defined(_WIN32)
    if (CreateDirectoryW(widePath(folder.c_str()).c_str(), nullptr) != 0) {
        return true;
    }
    const DWORD error = GetLastError();
    parentMissing = error == ERROR_PATH_NOT_FOUND;
    return failedWith(error);
#else
    if (mkdir(folder.c_str(), 0777) == 0) {
        return true;
    }
    parentMissing = errno == ENOENT;
    return false;
#endif
}

}  // namespace

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

const char* fileNameRefusal(std::string_view name) {
    if (name == "." || name == "..") {
        return "it names a folder";
    }
    if (name.find_first_of("/\\") != std::string_view::npos) {
        return "it holds a folder separator";
    }
    if (std::ranges::any_of(name, [](unsigned char c) { return c < 0x20 || c == 0x7F; })) {
        return "it holds a control character";
    }
    // The part before the first dot, without the spaces at its end, in upper case.
    std::string stem(name.substr(0, name.find('.')));
    stem.erase(stem.find_last_not_of(' ') + 1);
    std::ranges::transform(stem, stem.begin(), [](unsigned char c) { return std::toupper(c); });
    const std::string_view devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    const std::string_view numbered[] = {"COM", "LPT"};
    const bool device =
        std::ranges::count(devices, stem) > 0 ||
        std::ranges::any_of(numbered, [&stem](std::string_view prefix) {
            const std::string_view number =
                std::string_view(stem).substr(std::min<std::size_t>(stem.size(), 3));
            return stem.starts_with(prefix) &&
                   ((number.size() == 1 && std::isdigit(static_cast<unsigned char>(number[0]))) ||
                    number == "\xC2\xB9" || number == "\xC2\xB2" || number == "\xC2\xB3");
        });
    if (device) {
        return "Windows takes it for a device";
    }
#if defined(_WIN32)
    if (name.find_first_of("<>:\"|?*") != std::string_view::npos) {
        return "it holds a character that Windows does not allow in file names";
    }
    if (name.ends_with(' ') || name.ends_with('.')) {
        return "it ends in a space or a dot, which Windows drops";
    }
#endif
    return nullptr;
}

std::string inFolder(const std::string& folder, const std::string& fileName) {
    // A folder that ends in a separator, or on Windows in a drive's colon, takes no other.
    return folder + (folderOf(folder) == folder ? "" : std::string(1, kSeparators[0])) + fileName;
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

bool exists(const std::string& path) {
#if defined(_WIN32)
    return GetFileAttributesW(widePath(path.c_str()).c_str()) != INVALID_FILE_ATTRIBUTES;
#else
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
#endif
}

bool makeFolders(const std::string& path, std::vector<std::string>& made) {
    // The folder without separators at its end, unless they belong to its root.
    const std::size_t root = rootLength(path);
    const std::size_t last = path.find_last_not_of(kSeparators);
    const std::string folder =
        path.substr(0, last == std::string::npos ? root : std::max(last + 1, root));
    for (bool parentMade = false;; parentMade = true) {
        bool parentMissing = false;
        if (makeFolder(folder, parentMissing)) {
            made.push_back(folder);
            return true;
        }
        if (errno == EEXIST) {
            // A folder there, perhaps made meanwhile by another program, is no failure.
            const KeptErrno kept;
            return isFolder(folder);
        }
        // A root that is missing cannot be made.
        const std::size_t separator = folder.find_last_of(kSeparators);
        const std::string parent =
            folder.substr(0, separator == std::string::npos || separator < root ? root : separator);
        if (!parentMissing || parentMade || parent.size() <= root) {
            return false;
        }
        if (!makeFolders(parent, made)) {
            if (errno == EEXIST) {
                errno = ENOTDIR;  // a file where the parent folder belongs
            }
            return false;
        }
    }
}

void removeEmptyFolders(const std::vector<std::string>& folders) {
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
#if defined(_WIN32)
        RemoveDirectoryW(widePath(folder->c_str()).c_str());
#else
        rmdir(folder->c_str());
#endif
    }
}

bool namesSameFile(const std::string& first, const std::string& second) {
    return !first.empty() && fileIdentity(first) == fileIdentity(second);
}

}  // namespace quillet
