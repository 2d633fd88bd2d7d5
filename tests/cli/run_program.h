// Running the built quillet-cli from a shell, as a user does, in a folder of test images.
#pragma once

#include <filesystem>
#include <string>

namespace quillet::test {

struct ProgramRun {
    int exitStatus;  // 128 + the signal's number when a signal ended the program
    std::string out;
    std::string err;
};

// Runs commandLine with sh in folder, where quillet-cli names the built program, $SHIM the
// library that makes one of the engine's calls fail, and $AS_USER a command that runs the rest
// of its line as an ordinary user.
ProgramRun runInShell(const std::filesystem::path& folder, const std::string& commandLine);

}  // namespace quillet::test
