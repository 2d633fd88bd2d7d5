#pragma once

#include <string>

#include "quillet.h"

namespace quillet {

// Loads quillet.dll by its name, where Windows looks first in the program's folder, and finds
// RemoveIntroAuto in it; nullptr, with the message for the user in error, when either fails.
// A library without the function is unloaded again; one with it stays loaded.
QuilletRemoveIntroAutoFunction loadRemoveIntroAuto(std::string& error);

}  // namespace quillet
