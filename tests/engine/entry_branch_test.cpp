#include "entry_branch.h"

#include <ostream>
#include <sstream>

#include <gtest/gtest.h>

#include "test_images.h"

namespace quillet {
namespace {

using test::branchBytes;
using test::Bytes;

Bytes toBytes(const std::array<std::byte, kEntryBranchSize>& branch) {
    return Bytes(branch.begin(), branch.end());
}

struct DecodeCase {
    std::uint32_t branch;  // bytes 0-3 as a little-endian word
    std::uint32_t target;
};

std::ostream& operator<<(std::ostream& out, const DecodeCase& c) {
    return out << std::hex << c.branch << " -> " << std::dec << c.target;
}

class DecodeBranchTarget : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeBranchTarget, GivesTheOffsetTheBranchJumpsTo) {
    EXPECT_EQ(decodeBranchTarget(branchBytes(GetParam().branch)), GetParam().target);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, DecodeBranchTarget,
    testing::Values(DecodeCase{0xEA00002E, 192},         // the standard entry branch
                    DecodeCase{0xEA0FFFFE, 4'194'304},   // a 4 MiB game
                    DecodeCase{0xEA000000, 8},           // the smallest target
                    DecodeCase{0xEAFFFFFF, 67'108'868},  // the largest target
                    DecodeCase{0xEA800000, 33'554'440},  // byte 2 of 0x80 is no sign
                    DecodeCase{0xEB00002E, 192},         // byte 3 is never read
                    DecodeCase{0x0000002E, 192}, DecodeCase{0xFF0FFFFE, 4'194'304}),
    [](const testing::TestParamInfo<DecodeCase>& info) {
        std::ostringstream name;
        name << "Branch" << std::hex << std::uppercase << info.param.branch;
        return name.str();
    });

TEST(EncodeEntryBranch, GivesTheBranchToASize) {
    EXPECT_EQ(toBytes(encodeEntryBranch(192)), branchBytes(0xEA00002E));
    EXPECT_EQ(toBytes(encodeEntryBranch(4'194'304)), branchBytes(0xEA0FFFFE));
    EXPECT_EQ(toBytes(encodeEntryBranch(8)), branchBytes(0xEA000000));
    EXPECT_EQ(toBytes(encodeEntryBranch(67'108'868)), branchBytes(0xEAFFFFFF));
}

TEST(EncodeEntryBranch, RaisesASizeToTheNextMultipleOfFour) {
    for (std::uint64_t size : {4'194'305, 4'194'306, 4'194'307, 4'194'308}) {
        EXPECT_EQ(toBytes(encodeEntryBranch(size)), branchBytes(0xEA0FFFFF)) << size;
    }
}

TEST(EncodeEntryBranch, KeepsTheLow24BitsOfANegativeCount) {
    EXPECT_EQ(toBytes(encodeEntryBranch(4)), branchBytes(0xEAFFFFFF));
    EXPECT_EQ(toBytes(encodeEntryBranch(1)), branchBytes(0xEAFFFFFF));
    EXPECT_EQ(toBytes(encodeEntryBranch(0)), branchBytes(0xEAFFFFFE));
}

TEST(EntryBranch, DecodingAnEncodedSizeGivesItBackAlignedOverTheWholeRange) {
    // A prime step visits every remainder modulo 4 and targets from the first to the last.
    for (std::uint64_t size = 5; size <= kMaxBranchTarget; size += 65'537) {
        const std::uint64_t aligned = (size + 3) / 4 * 4;
        ASSERT_EQ(decodeBranchTarget(encodeEntryBranch(size)), aligned) << size;
    }
    EXPECT_EQ(decodeBranchTarget(encodeEntryBranch(kMaxBranchTarget - 3)), kMaxBranchTarget);
}

}  // namespace
}  // namespace quillet
