// Fuzzes the entry-branch arithmetic and the insertion's layout, whose sizes reach from a few
// bytes to 4 GiB, beyond what the library's fuzz target can make files of, and checks them
// against what the rules say.
// Input: a game and an intro size (4 bytes each).

#include "entry_branch.h"
#include "intro.h"
#include "test_images.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto gameSize = test::take<std::uint32_t>(data, size);
    const auto introSize = test::take<std::uint32_t>(data, size);

    // An entry branch jumps to the size it was made for, raised to a multiple of 4.
    const std::uint64_t aligned = (gameSize + std::uint64_t{3}) / 4 * 4;
    const auto branch = encodeEntryBranch(gameSize);
    test::check(branch[3] == std::byte{0xEA}, "an entry branch ends in 0xEA");
    test::check(aligned < 8 || aligned > kMaxBranchTarget || decodeBranchTarget(branch) == aligned,
                "an entry branch jumps to its size");

    const InsertionLayout layout = layoutInsertion(gameSize, introSize);
    const QuilletStatus expected =
        gameSize >= kMaxInputSize || introSize >= kMaxInputSize || aligned > kMaxBranchTarget
            ? QUILLET_INPUT_TOO_LARGE
        : gameSize < 4 || introSize < 192 ? QUILLET_INPUT_TOO_SHORT
                                          : QUILLET_OK;
    test::check(layout.status == expected, "sizes that no branch or image can hold are refused");
    return 0;
}
