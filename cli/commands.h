// quillet-cli's commands, and the exit statuses they end with.
#pragma once

#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace quillet::cli {

// Besides 0 and the library's statuses 1 to 6, after sysexits.h: a usage error, found before
// any file is touched; a refusal of the program's own (no intro, or an output that would replace
// an input of the run); an image, or a removal from it, that a list of dumps does not hold; a
// hash that a list gives and libgcrypt would not compute; and standard output that could not be
// written.
inline constexpr int kExitUsage = 64;
inline constexpr int kExitRefused = 65;
inline constexpr int kExitNotListed = 66;
inline constexpr int kExitHashUnavailable = 69;
inline constexpr int kExitOutputFailed = 74;

// A usage error found after parsing, such as a list that cannot be read, whose message says it
// all.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A command: its options, added to the program's command line when it is made, the checks that
// follow parsing, and the run.
class Command {
  public:
    // Adds the command called name to app.
    Command(CLI::App& app, const char* name, const char* description);
    virtual ~Command() = default;

    CLI::App& subcommand() const { return subcommand_; }

    // Takes the images named after "--" and checks what parsing could not; a usage error throws
    // CLI::ValidationError or UsageError.
    virtual void complete(const std::vector<std::string>& named) = 0;

    // Runs the command and returns the exit status.
    virtual int run(bool quiet) = 0;

  private:
    CLI::App& subcommand_;
};

// The commands, each added to app.
std::unique_ptr<Command> removeCommand(CLI::App& app);
std::unique_ptr<Command> verifyCommand(CLI::App& app);
std::unique_ptr<Command> addCommand(CLI::App& app);
std::unique_ptr<Command> infoCommand(CLI::App& app);

// Throws a usage error unless images names at least one image.
void requireImages(const std::vector<std::string>& images, const char* command);

// words joined by spaces.
std::string joined(std::span<const std::string> words);

// Parses the command line, runs the command and returns the exit status.
int run(int argc, char** argv);

}  // namespace quillet::cli
