#include "image_summary.h"

#include "fill_byte.h"

namespace quillet::cli {

namespace {

std::string hexBytes(const std::array<std::byte, kEntryBranchSize>& bytes) {
    std::string text;
    for (const std::byte byte : bytes) {
        text.append(" ").append(hexDigits(byte));
    }
    return text.substr(1);
}

}  // namespace

std::string infoLine(const ImageFacts& image) {
    const std::string size = std::to_string(image.size) + " bytes, ";
    const std::uint32_t target = decodeBranchTarget(image.entryBranch);
    const std::string jump =
        "entry branch " + hexBytes(image.entryBranch) + ", target " + std::to_string(target) + ": ";
    switch (verdictOf(image)) {
        case Verdict::kNotAnImage:
            return size + "first bytes " + hexBytes(image.entryBranch) +
                   ": not a Game Boy Advance image (it does not begin with a branch instruction)";
        case Verdict::kStandardBranch:
            return size + jump + "no intro (standard entry branch)";
        case Verdict::kBranchIntoHeader:
            return size + jump + "no intro (the entry branch points inside the header)";
        case Verdict::kPastTheEnd:
            return size + jump + "entry branch points past the end of the file";
        case Verdict::kIntro:
            break;
    }
    return size + jump + "intro at offset " + std::to_string(target) + ", " +
           std::to_string(image.size - target) + " bytes";
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
