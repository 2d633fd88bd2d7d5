#include "file_names.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <iterator>
#include <optional>

#include "file_system.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace quillet {

namespace {

// What separates the folders of a path.
#if defined(_WIN32)
constexpr const char* kSeparators = "/\\";
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

// The file name of path: the part after its last "/" or "\".
std::string_view fileNameOf(std::string_view path) {
    const std::size_t lastSeparator = path.find_last_of("/\\");
    return lastSeparator == std::string_view::npos ? path : path.substr(lastSeparator + 1);
}

}  // namespace

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
    const std::string_view devices[] = {"CON", "PRN", "AUX", "NUL"};
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

bool makeFolders(const std::string& path) {
    // The folder without separators at its end, and its parent, without those between them; a
    // parent that is all separators is the root. A parent that is there already, as a folder or
    // not, is left for the folder's own making to find.
    const std::string folder = path.substr(0, path.find_last_not_of(kSeparators) + 1);
    if (const std::size_t separator = folder.find_last_of(kSeparators);
        separator != std::string::npos) {
        const std::size_t parentEnd = folder.find_last_not_of(kSeparators, separator);
        const std::string parent =
            folder.substr(0, parentEnd == std::string::npos ? separator + 1 : parentEnd + 1);
        if (!exists(parent) && !makeFolders(parent)) {
            return false;
        }
    }
#if defined(_WIN32)
    const bool made = CreateDirectoryW(widePath(folder.c_str()).c_str(), nullptr) != 0 ||
                      failedWith(GetLastError());
#else
    const bool made = mkdir(folder.c_str(), 0777) == 0;
#endif
    // A folder that is there already, perhaps made meanwhile by another program, is no failure.
    return made || (errno == EEXIST && isFolder(folder));
}

bool namesSameFile(const std::string& first, const std::string& second) {
    return !first.empty() && fileIdentity(first) == fileIdentity(second);
}

}  // namespace quillet
