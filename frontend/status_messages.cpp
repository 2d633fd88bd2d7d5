#include "status_messages.h"

#include "quillet.h"

namespace quillet {

std::string statusMessage(std::int32_t status) {
    switch (status) {
        case QUILLET_OK:
            return "Done!";
        case QUILLET_INPUT_NOT_OPENED:
            return "Input file not found!";
        case QUILLET_OUTPUT_NOT_WRITTEN:
            return "Output file could not be written!";
        case QUILLET_INPUT_TOO_SHORT:
            return "Input file is too small!";
        case QUILLET_INPUT_NOT_READ:
            return "Input file could not be read!";
        case QUILLET_TARGET_BEYOND_END:
            return "No intro found: the entry branch points past the end of the file!";
        case QUILLET_INPUT_TOO_LARGE:
            return "Input file is too large!";
    }
    return "The library failed with the unknown status " + std::to_string(status) + ".";
}

}  // namespace quillet
