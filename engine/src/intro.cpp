#include "intro.h"

#include <algorithm>

#include "entry_branch.h"

namespace quillet {

namespace {

// Behind the intro code: one zero byte, the standard entry branch, three zero bytes.
constexpr std::size_t kTrailerSize = 8;
constexpr std::size_t kTrailerBranchOffset = 1;

}  // namespace

FillChoice fillChoice(std::int32_t fill, std::int32_t fillValue) {
    if (fill == 0) {
        return std::nullopt;
    }
    return std::byte(fillValue & 0xFF);
}

Removal removeIntro(std::span<std::byte> image, FillChoice fill) {
    if (image.size() < kEntryBranchSize) {
        return {QUILLET_INPUT_TOO_SHORT, 0};
    }
    const std::size_t target = decodeBranchTarget(image);
    if (!fill && target > image.size()) {
        return {QUILLET_TARGET_BEYOND_END, 0};
    }
    writeEntryBranch(image, kStandardEntryBranch);
    if (!fill) {
        return {QUILLET_OK, target};
    }
    if (target < image.size()) {
        std::fill(image.begin() + static_cast<std::ptrdiff_t>(target), image.end(), *fill);
    }
    return {QUILLET_OK, image.size()};
}

InsertionLayout layoutInsertion(std::uint64_t gameSize, std::uint64_t introSize) {
    if (gameSize >= kMaxInputSize || introSize >= kMaxInputSize ||
        alignToWord(gameSize) > kMaxBranchTarget) {
        return {QUILLET_INPUT_TOO_LARGE, 0, 0, 0};
    }
    if (gameSize < kEntryBranchSize || introSize < kHeaderSize) {
        return {QUILLET_INPUT_TOO_SHORT, 0, 0, 0};
    }
    const std::uint64_t introCodeOffset = alignToWord(gameSize);
    return {QUILLET_OK, static_cast<std::size_t>(gameSize),
            static_cast<std::size_t>(introCodeOffset),
            static_cast<std::size_t>(introCodeOffset + introSize - kHeaderSize + kTrailerSize)};
}

void insertIntro(std::span<std::byte> output, const InsertionLayout& layout,
                 std::span<const std::byte> introImage) {
    writeEntryBranch(output, encodeEntryBranch(layout.gameSize));
    const auto introCode = introImage.subspan(kHeaderSize);
    const auto trailer =
        std::copy(introCode.begin(), introCode.end(),
                  output.begin() + static_cast<std::ptrdiff_t>(layout.introCodeOffset));
    writeEntryBranch(std::span(trailer + kTrailerBranchOffset, output.end()), kStandardEntryBranch);
}

}  // namespace quillet
