// The library's exported functions: read the inputs, run the operation in memory, write.
#include <span>
#include <vector>

#include "image_file.h"
#include "intro.h"
#include "quillet.h"

using namespace quillet;

namespace {

// No exception may cross the C boundary. Only memory can run short here, which for the user
// means an input too large to work on.
template <typename Operation>
int32_t guarded(Operation operation) noexcept {
    try {
        return operation();
    } catch (...) {
        return QUILLET_INPUT_TOO_LARGE;
    }
}

}  // namespace

extern "C" QUILLET_API int32_t QUILLET_CALL RemoveIntroAuto(const char* inputPath,
                                                            const char* outputPath, int32_t fill,
                                                            int32_t fillValue) {
    return guarded([&] {
        std::vector<std::byte> image;
        InputFile input;
        if (const auto status = input.open(inputPath); status != QUILLET_OK) {
            return status;
        }
        if (const auto status = input.readWhole(image); status != QUILLET_OK) {
            return status;
        }
        const Removal removal = removeIntro(image, fillChoice(fill, fillValue));
        if (removal.status != QUILLET_OK) {
            return removal.status;
        }
        return replaceFile(outputPath, std::span(image).first(removal.outputSize));
    });
}

extern "C" QUILLET_API int32_t QUILLET_CALL AddIntroAuto(const char* gamePath,
                                                         const char* introPath,
                                                         const char* outputPath) {
    return guarded([&] {
        InputFile game;
        InputFile intro;
        if (const auto status = game.open(gamePath); status != QUILLET_OK) {
            return status;
        }
        if (const auto status = intro.open(introPath); status != QUILLET_OK) {
            return status;
        }
        const InsertionLayout layout = layoutInsertion(game.size(), intro.size());
        if (layout.status != QUILLET_OK) {
            return layout.status;
        }
        std::vector<std::byte> introImage;
        std::vector<std::byte> output;
        if (const auto status = intro.readWhole(introImage); status != QUILLET_OK) {
            return status;
        }
        if (const auto status = game.readWhole(output, layout.outputSize); status != QUILLET_OK) {
            return status;
        }
        insertIntro(output, layout, introImage);
        return replaceFile(outputPath, output);
    });
}
