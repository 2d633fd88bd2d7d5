// What a run tells the user: one line per image, and the exit status it ends with.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace quillet::cli {

inline constexpr const char* kProgramName = "quillet-cli";

// One line per image as soon as it is done: results on standard output unless quiet, failures
// on standard error. The first failure's status becomes the exit status; standard output that
// cannot be written is a failure too.
class Report {
  public:
    explicit Report(bool quiet) : quiet_(quiet) {}

    void result(const std::string& subject, const std::string& text);
    // A result that wrote an output. The first one comes after the line that beforeFirstOutput
    // gave, if any.
    void written(const std::string& subject, const std::string& text);
    void beforeFirstOutput(const std::string& subject, const std::string& text) {
        beforeFirstOutput_.emplace(subject, text);
    }
    bool wroteOutput() const { return wroteOutput_; }
    void failure(const std::string& subject, const std::string& message, int status);

    // The exit status of the run, once standard output that could not be written is reported.
    int finish();

  private:
    bool quiet_;
    int exitStatus_ = 0;
    int outputError_ = 0;
    bool wroteOutput_ = false;
    std::optional<std::pair<std::string, std::string>> beforeFirstOutput_;
};

}  // namespace quillet::cli
