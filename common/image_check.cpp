#include "image_check.h"

#include <algorithm>
#include <cerrno>

#include "image_file.h"

namespace quillet {

ImageProbe probeImage(const std::string& path) {
    ImageProbe probe{QUILLET_OK, 0, {}};
    InputFile file;
    probe.status = file.open(path.c_str());
    if (probe.status == QUILLET_OK) {
        probe.facts.size = file.size();
        probe.status = probe.facts.size < kEntryBranchSize ? QUILLET_INPUT_TOO_SHORT
                                                           : file.read(probe.facts.entryBranch);
    }
    probe.errorNumber = probe.status == QUILLET_OK ? 0 : errno;
    return probe;
}

bool fileHolds(const std::string& path, std::span<const std::byte> bytes) {
    const WholeFile held = readWholeFile(path.c_str());
    return held.status == QUILLET_OK && std::ranges::equal(held.bytes(), bytes);
}

bool holdsRemoval(const std::string& resultPath, const std::string& imagePath, FillChoice fill) {
    const WholeFile image = readWholeFile(imagePath.c_str());
    if (image.status != QUILLET_OK) {
        return false;
    }
    const Removal removal = removeIntro(image.bytes(), fill);
    return removal.status == QUILLET_OK &&
           fileHolds(resultPath, image.bytes().first(removal.outputSize));
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
