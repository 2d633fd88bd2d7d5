#include "run_program.h"

namespace quillet::test {
namespace {

using Usage = CliTest;

TEST_F(Usage, VersionIsOneLine) {
    const ProgramRun result = run({"--version"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, "quillet-cli 1.00\n");
}

TEST_F(Usage, HelpListsTheCommandsAndEveryExitStatus) {
    const ProgramRun result = run({"--help"});
    EXPECT_EQ(result.exitStatus, 0);
    for (const char* text :
         {"remove", "add", "info", "--quiet", "  1   Input file not found!",
          "  6   Input file is too large!", "  64  usage error", "  65  refused"}) {
        EXPECT_NE(result.out.find(text), std::string::npos) << text;
    }
}

TEST_F(Usage, EachCommandsHelpShowsAnExample) {
    for (const std::string command : {"remove", "add", "info"}) {
        const ProgramRun result = run({command, "--help"});
        EXPECT_EQ(result.exitStatus, 0) << command;
        EXPECT_NE(result.out.find("Example:\n  quillet-cli " + command + " "), std::string::npos)
            << result.out;
    }
}

class UsageError : public CliTest, public testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(UsageError, IsRefusedBeforeAnyFileIsTouched) {
    folder.write("a.gba", imageWithTarget(1000, 600, 1));
    folder.write("b.gba", imageWithTarget(1000, 600, 2));
    const auto before = folder.snapshot();
    const ProgramRun result = run(GetParam());
    EXPECT_EQ(result.exitStatus, 64);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(result.err.starts_with("quillet-cli: ")) << result.err;
    EXPECT_EQ(folder.snapshot(), before);
}

using Arguments = std::vector<std::string>;
INSTANTIATE_TEST_SUITE_P(
    Arguments, UsageError,
    testing::Values(Arguments{"remove", "--fill", "256", "a.gba"},
                    Arguments{"remove", "--fill", "-1", "a.gba"},
                    Arguments{"remove", "--fill", "abc", "a.gba"},
                    Arguments{"remove", "--fill", "0x100", "a.gba"},
                    Arguments{"remove", "--fill", "", "a.gba"},
                    Arguments{"remove", "a.gba", "--fill", "300"},
                    Arguments{"remove", "a.gba", "--fill", "1", "b.gba", "--fill", "2"},
                    Arguments{"remove", "-o", "out.gba", "a.gba", "b.gba"},
                    Arguments{"remove", "--cut", "--fill", "1", "a.gba"},
                    Arguments{"remove", "--unknown", "a.gba"}, Arguments{"remove"},
                    Arguments{"add", "a.gba"}, Arguments{"add", "a.gba", "b.gba", "c.gba"},
                    Arguments{"info"}, Arguments{}, Arguments{"rename", "a.gba"}));

}  // namespace
}  // namespace quillet::test
