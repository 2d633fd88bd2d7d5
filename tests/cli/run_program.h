// Running the built quillet-cli as a user does, in a scratch folder of test images.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_images.h"

namespace quillet::test {

struct ProgramRun {
    int exitStatus;  // 128 + the signal's number when a signal ended the program
    std::string out;
    std::string err;
};

// Runs quillet-cli with arguments, each passed as it is, in folder; captures both outputs.
ProgramRun runQuilletCli(const std::filesystem::path& folder,
                         const std::vector<std::string>& arguments);

// A test with its own scratch folder that the program runs in.
class CliTest : public testing::Test {
  protected:
    ProgramRun run(const std::vector<std::string>& arguments) const {
        return runQuilletCli(folder.path(""), arguments);
    }

    ScratchFolder folder;
};

}  // namespace quillet::test
