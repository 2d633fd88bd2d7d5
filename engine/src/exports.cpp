// The library's exported functions: read the inputs, run the operation in memory, write.
#include <cerrno>
#include <optional>

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
        errno = ENOMEM;
        return QUILLET_INPUT_TOO_LARGE;
    }
}

}  // namespace

extern "C" QUILLET_API int32_t QUILLET_CALL RemoveIntroAuto(const char* inputPath,
                                                            const char* outputPath, int32_t fill,
                                                            int32_t fillValue) {
    return guarded([&] {
        // The input is closed before the output may replace it.
        const WholeFile image = readWholeFile(inputPath);
        if (image.status != QUILLET_OK) {
            errno = image.errorNumber;
            return image.status;
        }
        const Removal removal = removeIntro(image.bytes(), fillChoice(fill, fillValue));
        if (removal.status != QUILLET_OK) {
            return removal.status;
        }
        return replaceFile(outputPath, image.bytes().first(removal.outputSize));
    });
}

extern "C" QUILLET_API int32_t QUILLET_CALL AddIntroAuto(const char* gamePath,
                                                         const char* introPath,
                                                         const char* outputPath) {
    return guarded([&] {
        std::optional<ImageBuffer> introImage;
        std::optional<ImageBuffer> output;
        InsertionLayout layout{};
        {  // Both inputs are closed before the output may replace one of them.
            InputFile game;
            InputFile intro;
            if (const auto status = game.open(gamePath); status != QUILLET_OK) {
                return status;
            }
            if (const auto status = intro.open(introPath); status != QUILLET_OK) {
                return status;
            }
            layout = layoutInsertion(game.size(), intro.size());
            if (layout.status != QUILLET_OK) {
                return layout.status;
            }
            // The game image goes straight into the output, in front of the intro code.
            introImage.emplace(intro.size());
            output.emplace(layout.outputSize);
            if (const auto status = intro.read(introImage->bytes()); status != QUILLET_OK) {
                return status;
            }
            if (const auto status = game.read(output->bytes()); status != QUILLET_OK) {
                return status;
            }
        }
        insertIntro(output->bytes(), layout, introImage->bytes());
        return replaceFile(outputPath, output->bytes());
    });
}
