#include "file_names.h"

#include <filesystem>
#include <system_error>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

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

std::string fileIdentity(const std::string& name) {
    if (name.empty()) {
        return {};
    }
#if !defined(_WIN32)
    // A file's device and number tell hard links apart from copies as well.
    struct stat info;
    if (stat(name.c_str(), &info) == 0) {
        return "file " + std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
    }
#endif
    std::error_code error;
    const std::filesystem::path resolved =
        std::filesystem::weakly_canonical(std::filesystem::absolute(name, error), error);
    return "name " + (error ? name : resolved.string());
}

bool namesSameFile(const std::string& first, const std::string& second) {
    return !first.empty() && fileIdentity(first) == fileIdentity(second);
}

}  // namespace quillet
