// What the engine's file access needs of the system, written once for POSIX systems
// (file_system_posix.cpp) and once for Windows (file_system_windows.cpp). Files are C runtime
// descriptors on both. Every failure leaves errno set to its cause.
#pragma once

#include <cerrno>
#include <functional>
#include <string>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace quillet {

// Keeps errno across the clean-up that follows a failure, so that the caller learns its cause.
class KeptErrno {
  public:
    ~KeptErrno() { errno = saved_; }

  private:
    int saved_ = errno;
};

#if defined(_WIN32)
// A path as the caller passes it, in the process's ANSI code page (UTF-8 where the program's
// manifest asks for it), as Windows' wide file functions take it.
std::wstring widePath(const char* path);

// The errno that tells the user the reason for a Windows error.
int errnoFor(DWORD error);

// Sets errno for error and returns false.
bool failedWith(DWORD error);
#endif

// Opens path for reading without waiting on a pipe: a descriptor, or -1. On Windows a device,
// whether by a reserved name such as NUL or CON or by its type, is refused before any read.
int openForReading(const char* path);

// The file that the output's bytes replace. On Linux a symbolic link is followed, so that the
// link stays and its target gets the new contents; on Windows one is refused. Empty, with errno
// set, when the name leads to something that must not be replaced: a folder, a device (on Windows
// also any of the system's reserved names, such as NUL, CON or COM1 with any extension), a pipe,
// a link that leads nowhere, or a file that the caller may not write.
std::string replaceableTarget(const char* outputPath);

// The folder part of path, with its separator; empty for a name in the current folder.
std::string folderOf(const std::string& path);

// Tries names in folder that no file has until create succeeds with one, which goes to name.
bool withUnusedName(const std::string& folder, std::string& name,
                    const std::function<bool(const std::string&)>& create);

// The file that is to replace the output, made in the output's folder. While it is written,
// nothing of it outlives the process, however the process ends: on Linux it has no name yet, and
// on Windows the system deletes it when the process ends. Only on a Linux file system without
// unnamed files, or without /proc to name one, does it have a name from the start, which a killed
// process leaves behind.
class TemporaryFile {
  public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    // Removes the file unless it has replaced the output.
    ~TemporaryFile();

    bool create(const std::string& folder);
    int descriptor() const { return descriptor_; }

    // Gives the file the permissions of target, the file that it replaces, where that exists.
    bool takePermissionsOf(const std::string& target);

    // Puts the complete, synced file in the place of target in one step, and makes the new name
    // durable.
    bool replace(const std::string& target);

  private:
    int descriptor_ = -1;
    std::string name_;  // empty while the file has no name
};

}  // namespace quillet
