#include "output_name.h"

namespace quillet {

namespace {

// The file name of path: the part after its last "/" or "\".
std::string_view fileNameOf(std::string_view path) {
    const std::size_t lastSeparator = path.find_last_of("/\\");
    return lastSeparator == std::string_view::npos ? path : path.substr(lastSeparator + 1);
}

}  // namespace

std::string outputNameFor(std::string_view inputName) {
    const std::size_t dot = inputName.find('.', inputName.size() - fileNameOf(inputName).size());
    if (dot == std::string_view::npos) {
        return std::string(inputName) + "-p";
    }
    return std::string(inputName.substr(0, dot)) + "-p" + std::string(inputName.substr(dot));
}

}  // namespace quillet
