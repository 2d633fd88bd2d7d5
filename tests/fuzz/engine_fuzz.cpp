// Fuzzes the entry-branch arithmetic and the removal and insertion over bytes in memory, and
// checks each result against what the rules say it must be.
// Input: fill and fillValue (4 bytes each), the game image's length within the rest (2 bytes),
// a game and an intro size for the layout alone (4 bytes each), then the image bytes: all of them
// for the removal, the first ones as the game image and the others as the intro image for the
// insertion.

#include "entry_branch.h"
#include "intro.h"
#include "test_images.h"

using namespace quillet;
using test::Bytes;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fill = test::take<std::int32_t>(data, size);
    const auto fillValue = test::take<std::int32_t>(data, size);
    const auto gameLength = test::take<std::uint16_t>(data, size);
    const auto layoutGame = test::take<std::uint32_t>(data, size);
    const auto layoutIntro = test::take<std::uint32_t>(data, size);
    const Bytes input(reinterpret_cast<const char*>(data), size);
    const auto bytesOf = [](Bytes& bytes) { return std::as_writable_bytes(std::span(bytes)); };

    // An entry branch jumps to the size it was made for, raised to a multiple of 4.
    const std::uint64_t aligned = (layoutGame + std::uint64_t{3}) / 4 * 4;
    const auto branch = encodeEntryBranch(layoutGame);
    test::check(branch[3] == std::byte{0xEA}, "an entry branch ends in 0xEA");
    test::check(aligned < 8 || aligned > kMaxBranchTarget || decodeBranchTarget(branch) == aligned,
                "an entry branch jumps to its size");

    Bytes image = input;
    const Removal removal = removeIntro(bytesOf(image), fillChoice(fill, fillValue));
    if (input.size() < 4) {
        test::check(removal.status == QUILLET_INPUT_TOO_SHORT, "an image under 4 bytes is refused");
    } else if (fill == 0 && test::branchTarget(input) > input.size()) {
        test::check(removal.status == QUILLET_TARGET_BEYOND_END, "no cut past the end");
    } else {
        test::check(
            removal.status == QUILLET_OK &&
                image.substr(0, removal.outputSize) ==
                    test::removed(input, fill == 0 ? std::nullopt : std::optional(char(fillValue))),
            "removal restores the branch and cuts or fills from its old target");
    }

    const InsertionLayout layout = layoutInsertion(layoutGame, layoutIntro);
    const QuilletStatus expected =
        layoutGame >= kMaxInputSize || layoutIntro >= kMaxInputSize || aligned > kMaxBranchTarget
            ? QUILLET_INPUT_TOO_LARGE
        : layoutGame < 4 || layoutIntro < 192 ? QUILLET_INPUT_TOO_SHORT
                                              : QUILLET_OK;
    test::check(layout.status == expected, "sizes that no branch or image can hold are refused");

    const Bytes game = input.substr(0, gameLength);
    const Bytes intro = input.substr(game.size());
    const InsertionLayout real = layoutInsertion(game.size(), intro.size());
    if (real.status != QUILLET_OK) {
        return 0;
    }
    Bytes output(real.outputSize, '\0');
    output.replace(0, game.size(), game);
    insertIntro(bytesOf(output), real, std::as_bytes(std::span(intro)));
    test::check(output == test::added(game, intro), "insertion appends intro code and trailer");
    if (game.size() >= 8) {
        const Removal back = removeIntro(bytesOf(output), std::nullopt);
        Bytes expectedBack = test::kStandardBranch + game.substr(4);
        expectedBack.resize(real.introCodeOffset);
        test::check(back.status == QUILLET_OK && output.substr(0, back.outputSize) == expectedBack,
                    "cutting the intro off again gives the game back");
    }
    return 0;
}
