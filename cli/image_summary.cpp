#include "image_summary.h"

#include <cstdio>

#include "fill_byte.h"

namespace quillet::cli {

namespace {

std::string hexBytes(const std::array<std::byte, kEntryBranchSize>& bytes) {
    std::string text;
    for (const std::byte byte : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", std::to_integer<unsigned>(byte));
        text += text.empty() ? "" : " ";
        text += digits;
    }
    return text;
}

}  // namespace

bool hasStandardEntryBranch(const ImageFacts& image) {
    return decodeBranchTarget(image.entryBranch) == kHeaderSize;
}

std::string introVerdict(const ImageFacts& image) {
    const std::uint32_t target = decodeBranchTarget(image.entryBranch);
    if (hasStandardEntryBranch(image)) {
        return "no intro (standard entry branch)";
    }
    if (target > image.size) {
        return "entry branch points past the end of the file";
    }
    return "intro at offset " + std::to_string(target) + ", " +
           std::to_string(image.size - target) + " bytes";
}

std::string infoLine(const ImageFacts& image) {
    return std::to_string(image.size) + " bytes, entry branch " + hexBytes(image.entryBranch) +
           ", target " + std::to_string(decodeBranchTarget(image.entryBranch)) + ": " +
           introVerdict(image);
}

std::string removalSummary(const ImageFacts& image, FillChoice fill) {
    const std::uint32_t target = decodeBranchTarget(image.entryBranch);
    if (target >= image.size) {
        // A cut past the end fails in the engine, so only a fill or a target at the end get here.
        return "entry branch restored, nothing behind offset " + std::to_string(target) +
               " to remove";
    }
    if (!fill) {
        return "intro removed, " + std::to_string(target) + " bytes kept";
    }
    return "intro filled with " + fillByteText(*fill) + " from offset " + std::to_string(target);
}

}  // namespace quillet::cli
