// What Quillet's programs tell the user.
#pragma once

#include <cstdint>
#include <string>

namespace quillet {

// Why an output that names the input file is refused: the programs only ever read the input.
inline constexpr const char* kOutputIsInputMessage = "The output file must not be the input file.";

// What the window program says when given more than the one image it can open.
inline constexpr const char* kOneImageMessage =
    "quillet: only one image can be opened; run 'quillet --help' for the options";

// Why an empty output name is refused before the library could fail on it.
inline constexpr const char* kNoOutputMessage = "No output file was named.";

// "what: reason." for the system's reason errorNumber, or plain when errorNumber is 0. The
// library says ENOTSUP of a pipe or a device where a file belongs: "Not a regular file".
std::string explained(const char* what, int errorNumber, const char* plain);

// Why the window could not load the library file: it is not in folder, where it was expected,
// or the system's loader gave reason.
std::string libraryNotLoadedMessage(const std::string& file, const std::string& folder,
                                    const std::string& reason);

// Why the window cannot use the library at path.
std::string libraryLacksFunctionMessage(const std::string& path);

// The message for a status returned by RemoveIntroAuto or AddIntroAuto, "Done!" for success.
// errorNumber is errno right after the call: where the status has a system reason, the message
// names it.
std::string statusMessage(std::int32_t status, int errorNumber);

}  // namespace quillet
