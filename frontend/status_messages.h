// What Quillet's programs tell the user about a call of the library.
#pragma once

#include <cstdint>
#include <string>

namespace quillet {

// The message for a status returned by RemoveIntroAuto or AddIntroAuto: "Done!" for success.
std::string statusMessage(std::int32_t status);

}  // namespace quillet
