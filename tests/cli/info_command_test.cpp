#include "run_program.h"

namespace quillet::test {
namespace {

using InfoCommand = CliTest;

TEST_F(InfoCommand, GivesEachImagesBranchAndVerdict) {
    folder.write("plain.gba", imageWithTarget(1000, 192));
    folder.write("with intro.gba", imageWithTarget(1000, 600));
    folder.write("bröken.gba", imageWithBranch(1000, 0x000000FF));
    const auto before = folder.snapshot();
    const ProgramRun result = run({"info", "plain.gba", "with intro.gba", "bröken.gba"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out,
              "plain.gba: 1000 bytes, entry branch 2E 00 00 EA, target 192: no intro (standard "
              "entry branch)\n"
              "with intro.gba: 1000 bytes, entry branch 94 00 00 EA, target 600: intro at offset "
              "600, 400 bytes\n"
              "bröken.gba: 1000 bytes, entry branch FF 00 00 00, target 1028: entry branch points "
              "past the end of the file\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(folder.snapshot(), before);
}

TEST_F(InfoCommand, ReportsUnreadableImagesWithTheWindowsMessages) {
    folder.write("short.gba", Bytes(3));
    folder.write("game.gba", imageWithTarget(1000, 600));
    std::filesystem::create_directory(folder.path("folder.gba"));
    const ProgramRun result =
        run({"--quiet", "info", "short.gba", "missing.gba", "folder.gba", "game.gba"});
    EXPECT_EQ(result.exitStatus, 3);
    EXPECT_EQ(result.out,
              "game.gba: 1000 bytes, entry branch 94 00 00 EA, target 600: intro at offset 600, "
              "400 bytes\n");
    EXPECT_EQ(result.err,
              "quillet-cli: short.gba: Input file is too small!\n"
              "quillet-cli: missing.gba: Input file not found!\n"
              "quillet-cli: folder.gba: Input file not found!\n");
}

}  // namespace
}  // namespace quillet::test
