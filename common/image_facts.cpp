#include "image_facts.h"

#include <algorithm>

namespace quillet {

ImageProbe probeOf(std::uint64_t size, std::span<const std::byte> head) {
    ImageProbe probe{QUILLET_OK, 0, {size, {}}};
    if (size < kEntryBranchSize || head.size() < kEntryBranchSize) {
        probe.status = QUILLET_INPUT_TOO_SHORT;
    } else {
        std::copy_n(head.begin(), kEntryBranchSize, probe.facts.entryBranch.begin());
    }
    return probe;
}

Verdict verdictOf(const ImageFacts& image) {
    const std::uint32_t target = decodeBranchTarget(image.entryBranch);
    if (image.entryBranch[3] != kStandardEntryBranch[3]) {
        return Verdict::kNotAnImage;
    }
    if (target <= kHeaderSize) {
        return target == kHeaderSize ? Verdict::kStandardBranch : Verdict::kBranchIntoHeader;
    }
    return target > image.size ? Verdict::kPastTheEnd : Verdict::kIntro;
}

const char* removalRefusal(const ImageProbe& probe) {
    if (probe.status != QUILLET_OK) {
        return nullptr;
    }
    switch (verdictOf(probe.facts)) {
        case Verdict::kNotAnImage:
            return "This is not a Game Boy Advance image: it does not begin with a branch "
                   "instruction.";
        case Verdict::kStandardBranch:
            return "No intro to remove: the entry branch is already the standard one.";
        case Verdict::kBranchIntoHeader:
            return "No intro to remove: the entry branch points inside the header.";
        default:
            return nullptr;
    }
}

}  // namespace quillet
