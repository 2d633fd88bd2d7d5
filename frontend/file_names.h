// File names as Quillet's programs treat them. Free of Qt, so that quillet-cli shares them.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// The output name proposed for inputName: "-p" before the first "." of its file name (the part
// after the last "/" or "\"), or appended when the file name has no ".". Works on UTF-8 and on
// any 8-bit encoding in which "/", "\" and "." are single bytes.
std::string outputNameFor(std::string_view inputName);

// Whether two names, in the system's 8-bit encoding, name the same file: the same text, or the
// same existing file once links and relative parts are resolved. An empty name names no file.
bool namesSameFile(const std::string& first, const std::string& second);

}  // namespace quillet
