#include <algorithm>

#include "run_program.h"

namespace quillet::test {
namespace {

const Bytes kStandardBranch = branchBytes(0xEA00002E);
constexpr std::byte kFF{0xFF};

// What removal must make of image, following the rules rather than the engine's code.
Bytes filledFrom(Bytes image, std::size_t target, std::byte fill) {
    std::copy(kStandardBranch.begin(), kStandardBranch.end(), image.begin());
    std::fill(image.begin() + static_cast<std::ptrdiff_t>(std::min(target, image.size())),
              image.end(), fill);
    return image;
}

Bytes cutAt(Bytes image, std::size_t target) {
    std::copy(kStandardBranch.begin(), kStandardBranch.end(), image.begin());
    image.resize(target);
    return image;
}

using RemoveCommand = CliTest;

TEST_F(RemoveCommand, FillsTheIntroWith0xFFByDefault) {
    const Bytes game = imageWithTarget(1000, 600);
    folder.write("game.gba", game);
    const ProgramRun result = run({"remove", "game.gba"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, "game.gba -> game-p.gba: intro filled with 0xFF from offset 600\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(folder.read("game-p.gba"), filledFrom(game, 600, kFF));
    EXPECT_EQ(folder.read("game.gba"), game);
}

TEST_F(RemoveCommand, CutsTheImageOffWhereTheIntroBegins) {
    const Bytes game = imageWithTarget(1000, 600);
    folder.write("game.gba", game);
    const ProgramRun result = run({"remove", "--cut", "game.gba"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, "game.gba -> game-p.gba: intro removed, 600 bytes kept\n");
    EXPECT_EQ(folder.read("game-p.gba"), cutAt(game, 600));
}

TEST_F(RemoveCommand, FillsWithTheGivenByteAndZeroIsNoCut) {
    const Bytes game = imageWithTarget(1000, 600);
    folder.write("game.gba", game);
    const std::pair<const char*, std::byte> fills[] = {{"0", std::byte{0x00}},
                                                       {"7", std::byte{0x07}},
                                                       {"0x7f", std::byte{0x7F}},
                                                       {"0XAB", std::byte{0xAB}},
                                                       {"255", kFF}};
    for (const auto& [text, byte] : fills) {
        const ProgramRun result = run({"remove", "--fill", text, "-o", "out.gba", "game.gba"});
        EXPECT_EQ(result.exitStatus, 0) << text;
        EXPECT_EQ(folder.read("out.gba"), filledFrom(game, 600, byte)) << text;
    }
}

TEST_F(RemoveCommand, FillKeepsAnImageWhoseBranchPointsPastTheEnd) {
    const Bytes game = imageWithTarget(1000, 2000);
    folder.write("game.gba", game);
    const ProgramRun result = run({"remove", "game.gba"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out,
              "game.gba -> game-p.gba: entry branch restored, nothing behind offset 2000 to "
              "remove\n");
    EXPECT_EQ(folder.read("game-p.gba"), filledFrom(game, 2000, kFF));
}

TEST_F(RemoveCommand, CutReportsABranchPastTheEndAndWritesNothing) {
    folder.write("game.gba", imageWithTarget(1000, 2000));
    const auto before = folder.snapshot();
    const ProgramRun result = run({"remove", "--cut", "game.gba"});
    EXPECT_EQ(result.exitStatus, 5);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err,
              "quillet-cli: game.gba -> game-p.gba: No intro found: the entry branch points past "
              "the end of the file!\n");
    EXPECT_EQ(folder.snapshot(), before);
}

TEST_F(RemoveCommand, BatchGoesOnAfterFailuresAndEndsWithTheFirstFailuresStatus) {
    const Bytes first = imageWithTarget(1000, 600, 1);
    const Bytes last = imageWithTarget(800, 400, 2);
    folder.write("first.gba", first);
    folder.write("short.gba", Bytes(3));
    folder.write("last.gba", last);
    const ProgramRun result =
        run({"remove", "--cut", "first.gba", "short.gba", "missing.gba", "last.gba"});
    EXPECT_EQ(result.exitStatus, 3);
    EXPECT_EQ(result.out,
              "first.gba -> first-p.gba: intro removed, 600 bytes kept\n"
              "last.gba -> last-p.gba: intro removed, 400 bytes kept\n");
    EXPECT_EQ(result.err,
              "quillet-cli: short.gba -> short-p.gba: Input file is too small!\n"
              "quillet-cli: missing.gba -> missing-p.gba: Input file not found!\n");
    EXPECT_EQ(folder.read("first-p.gba"), cutAt(first, 600));
    EXPECT_EQ(folder.read("last-p.gba"), cutAt(last, 400));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"first-p.gba", "first.gba", "last-p.gba",
                                                          "last.gba", "short.gba"}));
}

TEST_F(RemoveCommand, RefusesAStandardEntryBranchAndTouchesNothing) {
    folder.write("plain.gba", imageWithTarget(1000, 192));
    folder.write("plain-p.gba", patternBytes(10, 2));
    const auto before = folder.snapshot();
    for (const char* mode : {"--cut", "--fill=0"}) {
        const ProgramRun result = run({"remove", mode, "plain.gba", "missing.gba"});
        EXPECT_EQ(result.exitStatus, 65) << mode;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err,
                  "quillet-cli: plain.gba -> plain-p.gba: No intro to remove: the entry branch is "
                  "already the standard one. Give --force to process it anyway.\n"
                  "quillet-cli: missing.gba -> missing-p.gba: Input file not found!\n");
        EXPECT_EQ(folder.snapshot(), before);
    }
}

TEST_F(RemoveCommand, ForceRunsTheEngineOnAStandardEntryBranch) {
    const Bytes game = imageWithBranch(1000, 0x0000002E);
    folder.write("plain.gba", game);
    const ProgramRun cut = run({"remove", "--force", "--cut", "-o", "cut.gba", "plain.gba"});
    EXPECT_EQ(cut.exitStatus, 0);
    EXPECT_EQ(folder.read("cut.gba"), cutAt(game, 192));
    const ProgramRun filled = run({"remove", "--force", "-o", "filled.gba", "plain.gba"});
    EXPECT_EQ(filled.exitStatus, 0);
    EXPECT_EQ(filled.out, "plain.gba -> filled.gba: intro filled with 0xFF from offset 192\n");
    EXPECT_EQ(folder.read("filled.gba"), filledFrom(game, 192, kFF));
}

TEST_F(RemoveCommand, RefusesAnOutputThatIsTheInput) {
    folder.write("game.gba", imageWithTarget(1000, 600));
    std::filesystem::create_symlink("game.gba", folder.path("link.gba"));
    const auto before = folder.snapshot();
    const std::pair<const char*, const char*> namings[] = {{"game.gba", "game.gba"},
                                                           {"game.gba", "./game.gba"},
                                                           {"game.gba", "link.gba"},
                                                           {"gone.gba", "gone.gba"}};
    for (const auto& [input, output] : namings) {
        const ProgramRun result = run({"remove", "--force", "-o", output, input});
        EXPECT_EQ(result.exitStatus, 65) << output;
        EXPECT_EQ(result.err, "quillet-cli: " + std::string(input) + " -> " + output +
                                  ": The output file must not be the input file.\n");
        EXPECT_EQ(folder.snapshot(), before);
    }
}

TEST_F(RemoveCommand, ExplainsABadFillByte) {
    folder.write("a.gba", imageWithTarget(1000, 600));
    const ProgramRun result = run({"remove", "--fill", "256", "a.gba"});
    EXPECT_TRUE(result.err.starts_with(
        "quillet-cli: --fill: '256' is not a byte: give 0 to 255, or 0x00 to 0xFF\n"))
        << result.err;
}

TEST_F(RemoveCommand, QuietPrintsOnlyErrors) {
    const Bytes game = imageWithTarget(1000, 600);
    folder.write("game.gba", game);
    for (const auto& arguments : {std::vector<std::string>{"--quiet", "remove", "game.gba"},
                                  std::vector<std::string>{"remove", "-q", "game.gba", "x.gba"}}) {
        std::filesystem::remove(folder.path("game-p.gba"));
        const ProgramRun result = run(arguments);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(folder.read("game-p.gba"), filledFrom(game, 600, kFF));
    }
    EXPECT_EQ(run({"remove", "-q", "game.gba", "x.gba"}).err,
              "quillet-cli: x.gba -> x-p.gba: Input file not found!\n");
}

TEST_F(RemoveCommand, TakesNamesWithSpacesAndNonAsciiLettersAsTheyAre) {
    const Bytes game = imageWithTarget(1000, 600);
    folder.write("Pokémon Édition 1.gba", game);
    const ProgramRun result = run({"remove", "--cut", "Pokémon Édition 1.gba"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out,
              "Pokémon Édition 1.gba -> Pokémon Édition 1-p.gba: intro removed, 600 bytes kept\n");
    EXPECT_EQ(folder.read("Pokémon Édition 1-p.gba"), cutAt(game, 600));
}

}  // namespace
}  // namespace quillet::test
