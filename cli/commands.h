// quillet-cli's commands: remove, add and info, and the exit statuses they end with.
#pragma once

namespace quillet::cli {

// Besides 0 and the library's statuses 1 to 6, after sysexits.h: a usage error, found before
// any file is touched; a refusal of the program's own (no intro, or an output that would replace
// an image of the run); and standard output that could not be written.
inline constexpr int kExitUsage = 64;
inline constexpr int kExitRefused = 65;
inline constexpr int kExitOutputFailed = 74;

// Parses the command line, runs the command and returns the exit status.
int run(int argc, char** argv);

}  // namespace quillet::cli
