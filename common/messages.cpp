#include "messages.h"

#include <cerrno>
#include <cstring>

#include "quillet.h"

namespace quillet {

std::string explained(const char* what, int errorNumber, const char* plain) {
    return errorNumber == 0
               ? plain
               : std::string(what) + ": " +
                     (errorNumber == ENOTSUP ? "Not a regular file" : std::strerror(errorNumber)) +
                     ".";
}

std::string libraryNotLoadedMessage(const std::string& file, const std::string& folder,
                                    const std::string& reason) {
    return "The library " + file + " could not be loaded.\n\nIt was expected in " + folder +
           (reason.empty() ? ", but it is not there." : ".\n\n" + reason);
}

std::string libraryLacksFunctionMessage(const std::string& path) {
    return "The library " + path + " has no function RemoveIntroAuto.";
}

std::string statusMessage(std::int32_t status, int errorNumber) {
    switch (status) {
        case QUILLET_OK:
            return "Done!";
        case QUILLET_INPUT_NOT_OPENED:
            return explained("Input file could not be opened",
                             errorNumber == ENOENT ? 0 : errorNumber, "Input file not found!");
        case QUILLET_OUTPUT_NOT_WRITTEN:
            return explained("Output file could not be written", errorNumber,
                             "Output file could not be written!");
        case QUILLET_INPUT_TOO_SHORT:
            return "Input file is too small!";
        case QUILLET_INPUT_NOT_READ:
            return explained("Input file could not be read", errorNumber,
                             "Input file could not be read!");
        case QUILLET_TARGET_BEYOND_END:
            return "No intro found: the entry branch points past the end of the file!";
        case QUILLET_INPUT_TOO_LARGE:
            return "Input file is too large!";
    }
    return "The library failed with the unknown status " + std::to_string(status) + ".";
}

}  // namespace quillet
