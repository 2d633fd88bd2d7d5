// Fuzzes the two exported functions on real files and checks each call against a model of its
// result: the status, the output's bytes and mode, every other file untouched, nothing left over
// in the folder, and no file left open.
// Input: the call (removal or insertion), where the output goes (a new file, an existing file, the
// image itself or the intro image), the mode of the existing file old.gba (2 bytes), removal's
// fill and fillValue (4 bytes each), the game image's length within the rest (2 bytes) and the
// size to pad it to with zeros (4 bytes), then the bytes of the game image and of the intro image.
#include <filesystem>
#include <ranges>

#include "quillet.h"
#include "test_images.h"

using namespace quillet;
using test::Bytes;
namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bool add = test::take<std::uint8_t>(data, size) % 2 == 1;
    const int outputKind = test::take<std::uint8_t>(data, size) % 4;
    const auto mode = static_cast<fs::perms>((test::take<std::uint16_t>(data, size) & 0777) | 0600);
    const auto fill = test::take<std::int32_t>(data, size);
    const auto fillValue = test::take<std::int32_t>(data, size);
    const auto gameLength = test::take<std::uint16_t>(data, size);
    // Rarely large, so that the fuzzer spends its time on many small images.
    const auto padding = test::take<std::uint32_t>(data, size);
    const Bytes rest(reinterpret_cast<const char*>(data), size);
    Bytes game = rest.substr(0, gameLength);
    game.resize(
        std::max<std::size_t>(game.size(), (padding >> 3) % (padding % 8 == 7 ? 5'000'000 : 4096)));
    const Bytes intro = rest.substr(std::min<std::size_t>(gameLength, rest.size()));

    const test::ScratchFolder folder;
    folder.write("game.gba", game);
    folder.write("intro.gba", intro);
    const char* outputs[] = {"out.gba", "old.gba", "game.gba", add ? "intro.gba" : "out.gba"};
    // An existing file with a mode of its own: the output in some runs, a bystander in others.
    fs::permissions(folder.write("old.gba", "old"), mode);
    auto expected = folder.snapshot();

    const bool tooShort = game.size() < 4 || (add && intro.size() < 192);
    const bool pastTheEnd =
        !tooShort && !add && fill == 0 && test::branchTarget(game) > game.size();
    const std::int32_t status = tooShort     ? QUILLET_INPUT_TOO_SHORT
                                : pastTheEnd ? QUILLET_TARGET_BEYOND_END
                                             : QUILLET_OK;
    if (status == QUILLET_OK) {
        // A new output gets the mode of a new file; a replaced one keeps its own.
        const Bytes& replaced = expected[outputKind == 1 ? "old.gba" : "game.gba"];
        expected[outputs[outputKind]] = (add         ? test::added(game, intro)
                                         : fill == 0 ? test::removed(game, std::nullopt)
                                                     : test::removed(game, char(fillValue))) +
                                        replaced.substr(replaced.rfind(", mode "));
    }
    const auto openBefore = std::ranges::distance(fs::directory_iterator("/proc/self/fd"));
    const std::string gamePath = folder.path("game.gba"), introPath = folder.path("intro.gba");
    const std::string outputPath = folder.path(outputs[outputKind]);
    // Before the call, which may write over the images.
    test::check(RemoveIntroAuto(nullptr, outputPath.c_str(), 0, 0) == QUILLET_INPUT_NOT_OPENED &&
                    AddIntroAuto(gamePath.c_str(), introPath.c_str(), nullptr) ==
                        (game.size() < 4 || intro.size() < 192 ? QUILLET_INPUT_TOO_SHORT
                                                               : QUILLET_OUTPUT_NOT_WRITTEN),
                "a null path names no file");
    test::check(
        (add ? AddIntroAuto(gamePath.c_str(), introPath.c_str(), outputPath.c_str())
             : RemoveIntroAuto(gamePath.c_str(), outputPath.c_str(), fill, fillValue)) == status,
        "the status follows the sizes and the branch");
    test::check(std::ranges::distance(fs::directory_iterator("/proc/self/fd")) == openBefore,
                "no file is left open");
    test::check(folder.snapshot() == expected,
                "the output alone is new, with its mode, and nothing else changed");
    return 0;
}
