// The name the programs propose for the output of an image.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// The output name proposed for inputName: "-p" before the first "." of its file name (the part
// after the last "/" or "\"), or appended when the file name has no ".". Works on UTF-8 and on
// any 8-bit encoding in which "/", "\" and "." are single bytes.
std::string outputNameFor(std::string_view inputName);

}  // namespace quillet
