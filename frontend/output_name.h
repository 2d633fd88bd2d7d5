// The output file name that Quillet proposes for an input file name.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// inputName with "-p" before the first "." of its file name (the part after the last "/" or
// "\"), or with "-p" appended when the file name has no ".". Works on UTF-8 and on any 8-bit
// encoding in which "/", "\" and "." are single bytes.
std::string outputNameFor(std::string_view inputName);

}  // namespace quillet
