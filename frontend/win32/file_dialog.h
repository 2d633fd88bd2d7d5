#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace quillet {

// The file chosen in the system's open or save dialog, owned by owner, which opens on the file
// named current: in its folder, with its name in the file name box. nullopt when the user
// cancels. Names are in the system's 8-bit encoding.
std::optional<std::string> chooseFile(HWND owner, bool save, const std::string& current);

}  // namespace quillet
