#include "image_check.h"

#include <algorithm>
#include <cerrno>
#include <new>

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

bool holdsRemoval(const std::string& resultPath, const std::string& imagePath,
                  FillChoice fill) try {
    InputFile image;
    InputFile result;
    if (image.open(imagePath.c_str()) != QUILLET_OK || image.size() >= kMaxInputSize ||
        result.open(resultPath.c_str()) != QUILLET_OK || result.size() > image.size()) {
        return false;
    }
    const ImageBuffer expected(image.size());
    const ImageBuffer held(result.size());
    if (image.read(expected.bytes()) != QUILLET_OK || result.read(held.bytes()) != QUILLET_OK) {
        return false;
    }
    const Removal removal = removeIntro(expected.bytes(), fill);
    return removal.status == QUILLET_OK && removal.outputSize == result.size() &&
           std::ranges::equal(expected.bytes().first(removal.outputSize), held.bytes());
} catch (const std::bad_alloc&) {
    return false;
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
