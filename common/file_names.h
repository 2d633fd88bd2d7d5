// Which names lead to the same file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// What identifies the file that name, in the system's 8-bit encoding, leads to: two names of one
// existing file, through a link, a hard link or another spelling of its path (in any letter case
// where the file system ignores it), have the same identity. So have two names of one file-to-be
// in the same folder, in any letter case on Windows; elsewhere its name is compared as it is
// spelt. An empty name names no file and has an empty identity.
std::string fileIdentity(const std::string& name);

// The path of fileName in folder, joined by the system's own separator.
std::string inFolder(const std::string& folder, const std::string& fileName);

// Whether path leads to a folder.
bool isFolder(const std::string& path);

// Why name, taken from elsewhere (a list), cannot be a file's name on its own in a folder, or
// nullptr when it can. Refused everywhere: ".", "..", a folder separator ("/" or "\"), a control
// character, and a name that Windows takes for a device (CON, CONIN$, NUL, COM1, LPT1 and the
// others, with any extension), so that a list names the same files on every system. Refused on
// Windows also: a character that Windows does not allow in names, and a last space or dot, which it
// drops.
const char* fileNameRefusal(std::string_view name);

// Whether anything is at path, a dangling link included.
bool exists(const std::string& path);

// Makes the folder path and those of its parents that are missing, as mkdir -p does, and adds
// each folder that it makes to made, parents first; false, with errno set, when one cannot be
// made. A file where a parent folder belongs is ENOTDIR.
bool makeFolders(const std::string& path, std::vector<std::string>& made);

// Removes folders, the last first, each only while it is empty.
void removeEmptyFolders(const std::vector<std::string>& folders);

// Whether two names name the same file.
bool namesSameFile(const std::string& first, const std::string& second);

}  // namespace quillet
