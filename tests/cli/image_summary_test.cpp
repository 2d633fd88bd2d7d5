#include <gtest/gtest.h>

#include "image_summary.h"

namespace quillet::cli {
namespace {

ImageFacts facts(std::uint64_t size, std::uint8_t b0, std::uint8_t b1, std::uint8_t b2,
                 std::uint8_t b3 = 0xEA) {
    return {size, {std::byte{b0}, std::byte{b1}, std::byte{b2}, std::byte{b3}}};
}

TEST(ImageSummary, TheStandardBranchIsKnownByItsTargetAlone) {
    EXPECT_TRUE(hasStandardEntryBranch(facts(1000, 0x2E, 0, 0)));
    EXPECT_TRUE(hasStandardEntryBranch(facts(1000, 0x2E, 0, 0, 0x00)));
    EXPECT_FALSE(hasStandardEntryBranch(facts(1000, 0x2F, 0, 0)));
    EXPECT_FALSE(hasStandardEntryBranch(facts(1000, 0x2E, 0x01, 0)));
    EXPECT_FALSE(hasStandardEntryBranch(facts(1000, 0x2E, 0, 0x01)));
}

TEST(ImageSummary, VerdictNamesTheIntroItsOffsetAndSize) {
    EXPECT_EQ(introVerdict(facts(1000, 0x2E, 0, 0)), "no intro (standard entry branch)");
    EXPECT_EQ(introVerdict(facts(4'226'888, 0xFE, 0xFF, 0x0F)),
              "intro at offset 4194304, 32584 bytes");
    EXPECT_EQ(introVerdict(facts(600, 0x94, 0, 0)), "intro at offset 600, 0 bytes");
    EXPECT_EQ(introVerdict(facts(599, 0x94, 0, 0)), "entry branch points past the end of the file");
    EXPECT_EQ(introVerdict(facts(100, 0x2E, 0, 0)), "no intro (standard entry branch)");
}

TEST(ImageSummary, InfoLineShowsSizeBranchBytesAndTarget) {
    EXPECT_EQ(infoLine(facts(4'226'888, 0xFE, 0xFF, 0x0F)),
              "4226888 bytes, entry branch FE FF 0F EA, target 4194304: intro at offset "
              "4194304, 32584 bytes");
    EXPECT_EQ(infoLine(facts(8, 0xFF, 0xFF, 0xFF, 0x00)),
              "8 bytes, entry branch FF FF FF 00, target 67108868: entry branch points past "
              "the end of the file");
}

TEST(ImageSummary, RemovalSummaryFollowsTheEngine) {
    const ImageFacts image = facts(1000, 0x94, 0, 0);
    EXPECT_EQ(removalSummary(image, std::nullopt), "intro removed, 600 bytes kept");
    EXPECT_EQ(removalSummary(image, std::byte{0xFF}), "intro filled with 0xFF from offset 600");
    EXPECT_EQ(removalSummary(image, std::byte{0x00}), "intro filled with 0x00 from offset 600");
    EXPECT_EQ(removalSummary(facts(600, 0x94, 0, 0), std::nullopt),
              "entry branch restored, nothing behind offset 600 to remove");
    EXPECT_EQ(removalSummary(facts(500, 0x94, 0, 0), std::byte{0xFF}),
              "entry branch restored, nothing behind offset 600 to remove");
}

}  // namespace
}  // namespace quillet::cli
