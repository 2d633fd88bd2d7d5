// What Quillet's programs tell the user about a call of the library.
#pragma once

#include <cstdint>
#include <string>

namespace quillet {

// Why an output that names the input file is refused: the programs only ever read the input.
inline constexpr const char* kOutputIsInputMessage = "The output file must not be the input file.";

// The message for a status returned by RemoveIntroAuto or AddIntroAuto: "Done!" for success.
std::string statusMessage(std::int32_t status);

}  // namespace quillet
