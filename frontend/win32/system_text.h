// Texts between the controls and file system, which hold UTF-16, and the window's behaviour and
// the library, which take the system's 8-bit encoding: the ANSI code page, UTF-8 by quillet.exe's
// manifest.
#pragma once

#include <string>

namespace quillet {

std::wstring toWide(const std::string& text);
std::string toNarrow(const std::wstring& text);

// Whether path leads to a file, not a folder.
bool isFile(const std::wstring& path);

}  // namespace quillet
