// Fuzzes the two exported functions on real files and checks each call against a model of its
// result: the status, the output's bytes and mode, every other file untouched, and nothing left
// over in the folder.
// Input: the call (cut, fill or add), where the output goes (a new file, an existing file, the
// image itself or the intro image), the existing output's mode (2 bytes), fillValue (4 bytes),
// the game image's length within the rest (2 bytes) and the size to pad it to with zeros (4
// bytes), then the bytes of the game image and of the intro image.
#include <sys/stat.h>

#include <filesystem>

#include "fuzz_input.h"
#include "quillet.h"
#include "test_images.h"

using namespace quillet;
using test::Bytes;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    test::FuzzInput in(data, size);
    const int call = in.take<std::uint8_t>() % 3;  // cut, fill, add
    const int outputKind = in.take<std::uint8_t>() % 4;
    const auto mode = static_cast<std::filesystem::perms>((in.take<std::uint16_t>() & 0777) | 0600);
    const auto fillValue = in.take<std::int32_t>();
    const auto gameLength = in.take<std::uint16_t>();
    // Rarely large, so that the fuzzer spends its time on many small images.
    const auto padding = in.take<std::uint32_t>();
    const std::size_t paddedSize = (padding >> 3) % (padding % 8 == 7 ? 5'000'000 : 4096);
    const Bytes rest = in.rest();
    Bytes game = rest.substr(0, gameLength);
    game.resize(std::max<std::size_t>(game.size(), paddedSize), '\0');
    const Bytes intro = rest.substr(std::min<std::size_t>(gameLength, rest.size()));

    const test::ScratchFolder folder;
    folder.write("game.gba", game);
    folder.write("intro.gba", intro);
    const char* outputs[] = {"out.gba", "old.gba", "game.gba", call == 2 ? "intro.gba" : "out.gba"};
    const std::string output = folder.path(outputs[outputKind]).string();
    if (outputKind == 1) {
        std::filesystem::permissions(folder.write("old.gba", "old"), mode);
    }
    auto expected = folder.snapshot();

    std::int32_t status = QUILLET_OK;
    Bytes result;
    if (call == 2) {
        status = game.size() < 4 || intro.size() < 192 ? QUILLET_INPUT_TOO_SHORT : QUILLET_OK;
        result = status == QUILLET_OK ? test::added(game, intro) : "";
        test::check(AddIntroAuto(folder.path("game.gba").c_str(), folder.path("intro.gba").c_str(),
                                 output.c_str()) == status,
                    "the status of an insertion");
    } else {
        status = game.size() < 4                                       ? QUILLET_INPUT_TOO_SHORT
                 : call == 0 && test::branchTarget(game) > game.size() ? QUILLET_TARGET_BEYOND_END
                                                                       : QUILLET_OK;
        result =
            status == QUILLET_OK
                ? test::removed(game, call == 0 ? std::nullopt : std::optional(char(fillValue)))
                : "";
        test::check(RemoveIntroAuto(folder.path("game.gba").c_str(), output.c_str(), call,
                                    fillValue) == status,
                    "the status of a removal");
    }
    if (status == QUILLET_OK) {
        // A new output gets the mode a new file gets; a replaced one keeps its own.
        const Bytes& before = expected[outputKind == 1 ? "old.gba" : "game.gba"];
        expected[std::filesystem::path(output).filename()] =
            result + before.substr(before.rfind(", mode "));
    }
    test::check(folder.snapshot() == expected,
                "the output alone is new, with its mode, and nothing else changed");
    return 0;
}
