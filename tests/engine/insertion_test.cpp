#include <algorithm>

#include <gtest/gtest.h>

#include "intro.h"
#include "test_images.h"

namespace quillet {
namespace {

using test::branchBytes;
using test::Bytes;
using test::slice;

// What the library does between reading the game image into the output array and writing it.
Bytes insert(const Bytes& game, const Bytes& intro) {
    const InsertionLayout layout = layoutInsertion(game.size(), intro.size());
    EXPECT_EQ(layout.status, QUILLET_OK);
    Bytes output(layout.outputSize);
    std::copy(game.begin(), game.end(), output.begin());
    insertIntro(output, layout, intro);
    return output;
}

const Bytes kTrailer = {std::byte{0x00}, std::byte{0x2E}, std::byte{0x00}, std::byte{0x00},
                        std::byte{0xEA}, std::byte{0x00}, std::byte{0x00}, std::byte{0x00}};

TEST(InsertIntro, AppendsAThirtyTwoKilobyteIntroToAFourMegabyteGame) {
    const Bytes game = test::imageWithBranch(4'194'304, 0xEA00002E, 1);
    const Bytes intro = test::imageWithBranch(32'768, 0xEA00002E, 2);
    const Bytes output = insert(game, intro);
    ASSERT_EQ(output.size(), 4'226'888u);
    EXPECT_EQ(slice(output, 0, 4), branchBytes(0xEA0FFFFE));
    EXPECT_EQ(slice(output, 4, 4'194'300), slice(game, 4, 4'194'300));
    EXPECT_EQ(slice(output, 4'194'304, 32'576), slice(intro, 192, 32'576));
    EXPECT_EQ(slice(output, 4'226'880, 8), kTrailer);
}

TEST(InsertIntro, AnIntroOfOnlyAHeaderAddsJustTheTrailer) {
    const Bytes game = test::imageWithBranch(1024, 0xEA00002E, 1);
    const Bytes output = insert(game, test::patternBytes(192, 2));
    ASSERT_EQ(output.size(), 1032u);
    EXPECT_EQ(slice(output, 0, 4), branchBytes(0xEA0000FE));  // target 1024
    EXPECT_EQ(slice(output, 4, 1020), slice(game, 4, 1020));
    EXPECT_EQ(slice(output, 1024, 8), kTrailer);
}

TEST(InsertIntro, PadsAnUnalignedGameSoTheBranchLandsOnTheIntroCode) {
    const Bytes intro = test::patternBytes(500, 2);
    for (std::size_t gameSize : {1021, 1022, 1023}) {
        const Bytes game = test::patternBytes(gameSize, 1);
        const Bytes output = insert(game, intro);
        ASSERT_EQ(output.size(), 1024 + 500 - 184) << gameSize;
        EXPECT_EQ(slice(output, 0, 4), branchBytes(0xEA0000FE)) << gameSize;
        EXPECT_EQ(slice(output, 4, gameSize - 4), slice(game, 4, gameSize - 4));
        EXPECT_TRUE(test::allBytesAre(slice(output, gameSize, 1024 - gameSize), std::byte{0}));
        EXPECT_EQ(slice(output, 1024, 308), slice(intro, 192, 308)) << gameSize;
        EXPECT_EQ(slice(output, 1332, 8), kTrailer);
    }
}

TEST(InsertIntro, RemovingTheIntroAgainGivesTheGameBack) {
    const Bytes game = test::imageWithBranch(65'536, 0xEA00002E, 1);
    Bytes output = insert(game, test::patternBytes(4'000, 2));
    const Removal removal = removeIntro(output, std::nullopt);
    ASSERT_EQ(removal.status, QUILLET_OK);
    EXPECT_EQ(slice(output, 0, removal.outputSize), game);
}

TEST(InsertIntro, FillingTheIntroKeepsTheLength) {
    const Bytes game = test::imageWithBranch(2'048, 0xEA00002E, 1);
    Bytes output = insert(game, test::patternBytes(1'000, 2));
    const Removal removal = removeIntro(output, std::byte{0xFF});
    ASSERT_EQ(removal.status, QUILLET_OK);
    EXPECT_EQ(removal.outputSize, 2'048u + 1'000 - 184);
    EXPECT_EQ(slice(output, 0, 2'048), game);
    EXPECT_TRUE(test::allBytesAre(slice(output, 2'048, 1'000 - 184), std::byte{0xFF}));
}

TEST(LayoutInsertion, RefusesInputsTooShortForABranchOrAHeader) {
    EXPECT_EQ(layoutInsertion(3, 1000).status, QUILLET_INPUT_TOO_SHORT);
    EXPECT_EQ(layoutInsertion(0, 1000).status, QUILLET_INPUT_TOO_SHORT);
    EXPECT_EQ(layoutInsertion(1000, 191).status, QUILLET_INPUT_TOO_SHORT);
    EXPECT_EQ(layoutInsertion(4, 192).status, QUILLET_OK);
}

TEST(LayoutInsertion, RefusesAGameNoBranchCanJumpBehind) {
    EXPECT_EQ(layoutInsertion(67'108'868, 192).status, QUILLET_OK);
    EXPECT_EQ(layoutInsertion(67'108'865, 192).status, QUILLET_OK);
    EXPECT_EQ(layoutInsertion(67'108'869, 192).status, QUILLET_INPUT_TOO_LARGE);
}

TEST(LayoutInsertion, RefusesInputsOfTwoGigabytesOrMore) {
    EXPECT_EQ(layoutInsertion(1024, kMaxInputSize - 1).status, QUILLET_OK);
    EXPECT_EQ(layoutInsertion(1024, kMaxInputSize).status, QUILLET_INPUT_TOO_LARGE);
    EXPECT_EQ(layoutInsertion(kMaxInputSize, 1024).status, QUILLET_INPUT_TOO_LARGE);
}

}  // namespace
}  // namespace quillet
