// quillet-cli's commands: remove, add and info, and the exit statuses they end with.
#pragma once

namespace quillet::cli {

// Besides 0 and the library's statuses 1 to 6, after sysexits.h: a usage error, found before
// any file is touched, and a refusal of the program's own (no intro, the output is the input).
inline constexpr int kExitUsage = 64;
inline constexpr int kExitRefused = 65;

// Parses the command line, runs the command and returns the exit status.
int run(int argc, char** argv);

}  // namespace quillet::cli
