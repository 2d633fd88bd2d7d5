#include <gtest/gtest.h>

#include "intro.h"
#include "test_images.h"

namespace quillet {
namespace {

using test::branchBytes;
using test::Bytes;
using test::slice;

constexpr std::byte kFF{0xFF};
const Bytes kStandardBranch = branchBytes(0xEA00002E);

// A 4 MiB game with a 32,584-byte intro behind it.
constexpr std::size_t kGameSize = 4'194'304;
constexpr std::size_t kImageSize = 4'226'888;

TEST(RemoveIntro, CutsAFourMegabyteGameAtItsIntro) {
    const Bytes input = test::imageWithBranch(kImageSize, 0xEA0FFFFE);
    Bytes image = input;
    const Removal removal = removeIntro(image, std::nullopt);
    ASSERT_EQ(removal.status, QUILLET_OK);
    ASSERT_EQ(removal.outputSize, kGameSize);
    EXPECT_EQ(slice(image, 0, 4), kStandardBranch);
    EXPECT_EQ(slice(image, 4, kGameSize - 4), slice(input, 4, kGameSize - 4));
}

TEST(RemoveIntro, FillsTheIntroOfAFourMegabyteGame) {
    const Bytes input = test::imageWithBranch(kImageSize, 0xEA0FFFFE);
    Bytes image = input;
    const Removal removal = removeIntro(image, kFF);
    ASSERT_EQ(removal.status, QUILLET_OK);
    ASSERT_EQ(removal.outputSize, kImageSize);
    EXPECT_EQ(slice(image, 0, 4), kStandardBranch);
    EXPECT_EQ(slice(image, 4, kGameSize - 4), slice(input, 4, kGameSize - 4));
    EXPECT_TRUE(test::allBytesAre(slice(image, kGameSize, kImageSize - kGameSize), kFF));
}

TEST(RemoveIntro, FillsWithTheLowEightBitsOfTheFillValue) {
    const std::pair<std::int32_t, std::byte> cases[] = {{255, kFF},
                                                        {256, std::byte{0x00}},
                                                        {-1, kFF},
                                                        {0x1234, std::byte{0x34}},
                                                        {0, std::byte{0}}};
    for (const auto& [fillValue, fillByte] : cases) {
        Bytes image = test::imageWithTarget(300, 200);
        ASSERT_EQ(removeIntro(image, fillChoice(1, fillValue)).status, QUILLET_OK);
        EXPECT_TRUE(test::allBytesAre(slice(image, 200, 100), fillByte)) << fillValue;
        EXPECT_NE(image[199], fillByte) << "the byte before the intro stays";
    }
}

TEST(RemoveIntro, AnyNonZeroFillSelectsFillMode) {
    EXPECT_EQ(fillChoice(0, 255), std::nullopt);
    for (std::int32_t fill : {1, 2, -1, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(fillChoice(fill, 0x1AB), std::byte{0xAB}) << fill;
    }
}

TEST(RemoveIntro, CutsAnImageWithTheStandardBranchToItsHeader) {
    const Bytes input = test::imageWithBranch(1000, 0xEA00002E);
    Bytes image = input;
    const Removal removal = removeIntro(image, std::nullopt);
    ASSERT_EQ(removal.status, QUILLET_OK);
    EXPECT_EQ(removal.outputSize, 192u);
    EXPECT_EQ(slice(image, 0, 192), slice(input, 0, 192));
}

TEST(RemoveIntro, IgnoresByteThreeOfTheBranch) {
    Bytes image = test::imageWithBranch(1000, 0x0000002E);
    const Removal removal = removeIntro(image, std::nullopt);
    EXPECT_EQ(removal.outputSize, 192u);
    EXPECT_EQ(slice(image, 0, 4), kStandardBranch);
}

TEST(RemoveIntro, TargetAtTheEndKeepsTheWholeImage) {
    for (FillChoice fill : {FillChoice{}, FillChoice{kFF}}) {
        const Bytes input = test::imageWithTarget(1024, 1024);
        Bytes image = input;
        const Removal removal = removeIntro(image, fill);
        ASSERT_EQ(removal.status, QUILLET_OK);
        EXPECT_EQ(removal.outputSize, 1024u);
        EXPECT_EQ(slice(image, 4, 1020), slice(input, 4, 1020));
    }
}

TEST(RemoveIntro, FillWithTheTargetPastTheEndOnlyRestoresTheBranch) {
    const Bytes input = test::imageWithTarget(1022, 4'194'304);
    Bytes image = input;
    const Removal removal = removeIntro(image, kFF);
    ASSERT_EQ(removal.status, QUILLET_OK);
    EXPECT_EQ(removal.outputSize, 1022u);
    EXPECT_EQ(slice(image, 0, 4), kStandardBranch);
    EXPECT_EQ(slice(image, 4, 1018), slice(input, 4, 1018));
}

TEST(RemoveIntro, RefusesToCutWhereTheTargetIsPastTheEnd) {
    const Bytes input = test::imageWithTarget(1020, 1024);
    Bytes image = input;
    EXPECT_EQ(removeIntro(image, std::nullopt).status, QUILLET_TARGET_BEYOND_END);
    EXPECT_EQ(image, input);
}

TEST(RemoveIntro, RefusesAnImageShorterThanItsEntryBranch) {
    for (std::size_t size = 0; size < 4; ++size) {
        Bytes image = test::patternBytes(size);
        EXPECT_EQ(removeIntro(image, kFF).status, QUILLET_INPUT_TOO_SHORT) << size;
        EXPECT_EQ(removeIntro(image, std::nullopt).status, QUILLET_INPUT_TOO_SHORT) << size;
    }
    Bytes smallest = test::imageWithTarget(4, 8);
    const Removal removal = removeIntro(smallest, kFF);
    EXPECT_EQ(removal.status, QUILLET_OK);
    EXPECT_EQ(smallest, kStandardBranch);
}

}  // namespace
}  // namespace quillet
