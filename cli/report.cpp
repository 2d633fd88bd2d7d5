#include "report.h"

#include <cerrno>
#include <cstring>
#include <iostream>

#include "commands.h"

namespace quillet::cli {

void Report::result(const std::string& subject, const std::string& text) {
    // Flushed, so that a script reading the output sees each image as it finishes.
    if (!quiet_ && !(std::cout << subject << ": " << text << std::endl) && outputError_ == 0) {
        outputError_ = errno;
    }
}

void Report::written(const std::string& subject, const std::string& text) {
    if (!wroteOutput_ && beforeFirstOutput_) {
        result(beforeFirstOutput_->first, beforeFirstOutput_->second);
    }
    wroteOutput_ = true;
    result(subject, text);
}

void Report::failure(const std::string& subject, const std::string& message, int status) {
    std::cerr << kProgramName << ": " << subject << ": " << message << '\n';
    if (exitStatus_ == 0) {
        exitStatus_ = status;
    }
}

int Report::finish() {
    if (outputError_ != 0) {
        std::cerr << kProgramName
                  << ": standard output could not be written: " << std::strerror(outputError_)
                  << '\n';
        return exitStatus_ != 0 ? exitStatus_ : kExitOutputFailed;
    }
    return exitStatus_;
}

}  // namespace quillet::cli
