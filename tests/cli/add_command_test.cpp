#include "run_program.h"

namespace quillet::test {
namespace {

constexpr std::size_t kHeaderSize = 192;

// What insertion must make of game and intro: the game padded with zeros to a multiple of 4,
// its entry branch pointing there, the intro without its header, then the trailer.
Bytes withIntro(Bytes game, const Bytes& intro) {
    const std::size_t introCodeOffset = (game.size() + 3) / 4 * 4;
    const Bytes branch =
        branchBytes(0xEA00'0000 | static_cast<std::uint32_t>((introCodeOffset - 8) / 4));
    std::copy(branch.begin(), branch.end(), game.begin());
    game.resize(introCodeOffset);
    game.insert(game.end(), intro.begin() + kHeaderSize, intro.end());
    const Bytes trailer = {std::byte{0x00}, std::byte{0x2E}, std::byte{0x00}, std::byte{0x00},
                           std::byte{0xEA}, std::byte{0x00}, std::byte{0x00}, std::byte{0x00}};
    game.insert(game.end(), trailer.begin(), trailer.end());
    return game;
}

using AddCommand = CliTest;

TEST_F(AddCommand, AppendsTheIntroBehindTheGamePaddedToAWord) {
    const Bytes game = imageWithTarget(1001, 192, 1);
    const Bytes intro = patternBytes(kHeaderSize + 100, 2);
    folder.write("game.gba", game);
    folder.write("intro.gba", intro);
    const ProgramRun result = run({"add", "game.gba", "intro.gba"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, "game.gba + intro.gba -> game-p.gba: intro added\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(folder.read("game-p.gba"), withIntro(game, intro));
    EXPECT_EQ(folder.read("game.gba"), game);
    EXPECT_EQ(folder.read("intro.gba"), intro);
}

TEST_F(AddCommand, WritesToTheOutputGivenWithO) {
    const Bytes game = imageWithTarget(1000, 192, 1);
    const Bytes intro = patternBytes(kHeaderSize + 40, 2);
    folder.write("game.gba", game);
    folder.write("intro.gba", intro);
    const ProgramRun result = run({"add", "-o", "with intro.gba", "game.gba", "intro.gba"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(folder.read("with intro.gba"), withIntro(game, intro));
    EXPECT_EQ(folder.entries(),
              (std::vector<std::string>{"game.gba", "intro.gba", "with intro.gba"}));
}

TEST_F(AddCommand, RefusesAnOutputThatIsTheGameOrTheIntro) {
    folder.write("game.gba", imageWithTarget(1000, 192, 1));
    folder.write("intro.gba", patternBytes(kHeaderSize + 40, 2));
    const auto before = folder.snapshot();
    for (const char* output : {"game.gba", "intro.gba", "./intro.gba"}) {
        const ProgramRun result = run({"add", "game.gba", "intro.gba", "-o", output});
        EXPECT_EQ(result.exitStatus, 65) << output;
        EXPECT_EQ(result.err, "quillet-cli: game.gba + intro.gba -> " + std::string(output) +
                                  ": The output file must not be the input file.\n");
        EXPECT_EQ(folder.snapshot(), before);
    }
}

TEST_F(AddCommand, ReportsTheEnginesStatusAndWritesNothing) {
    folder.write("game.gba", imageWithTarget(1000, 192, 1));
    folder.write("intro.gba", patternBytes(kHeaderSize - 1, 2));
    const auto before = folder.snapshot();
    const ProgramRun result = run({"add", "game.gba", "intro.gba"});
    EXPECT_EQ(result.exitStatus, 3);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err,
              "quillet-cli: game.gba + intro.gba -> game-p.gba: Input file is too small!\n");
    EXPECT_EQ(folder.snapshot(), before);
}

}  // namespace
}  // namespace quillet::test
