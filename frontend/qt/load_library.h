#pragma once

#include <string>

#include "quillet.h"

namespace quillet {

// Loads the library and finds RemoveIntroAuto in it: beside the program, where a build keeps the
// library, then in the library folder of an installation, then wherever the system looks for
// libraries. nullptr, with what went wrong in error, when that fails; a library without the
// function is unloaded again, so that a corrected file of the same name can load later.
QuilletRemoveIntroAutoFunction loadRemoveIntroAuto(std::string& error);

}  // namespace quillet
