#include "file_names.h"

#include <filesystem>
#include <system_error>

namespace quillet {

std::string outputNameFor(std::string_view inputName) {
    const std::size_t lastSeparator = inputName.find_last_of("/\\");
    const std::size_t fileNameStart =
        lastSeparator == std::string_view::npos ? 0 : lastSeparator + 1;
    const std::size_t dot = inputName.find('.', fileNameStart);
    if (dot == std::string_view::npos) {
        return std::string(inputName) + "-p";
    }
    return std::string(inputName.substr(0, dot)) + "-p" + std::string(inputName.substr(dot));
}

bool namesSameFile(const std::string& first, const std::string& second) {
    if (first.empty() || second.empty()) {
        return false;  // names no file: the library reports that
    }
    std::error_code error;
    return first == second || std::filesystem::equivalent(first, second, error);
}

}  // namespace quillet
