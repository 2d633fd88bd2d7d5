// What an image's first bytes say about it, read without the rest: the check that both programs
// make before they take an intro off, so that removal never ruins an image that has none.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "entry_branch.h"
#include "intro.h"
#include "quillet.h"

namespace quillet {

struct ImageFacts {
    std::uint64_t size;
    std::array<std::byte, kEntryBranchSize> entryBranch;
};

struct ImageProbe {
    QuilletStatus status;
    int errorNumber;   // errno of a failure
    ImageFacts facts;  // meaningful when status is QUILLET_OK
};

// Reads the size and the first 4 bytes of the image at path with the engine's own file reading,
// so that it fails as the engine does on the same trouble.
ImageProbe probeImage(const std::string& path);

// Whether the file at path holds exactly bytes.
bool fileHolds(const std::string& path, std::span<const std::byte> bytes);

// Whether the file at resultPath holds exactly what taking the intro off the image at imagePath
// with fill writes: the result of an earlier removal.
bool holdsRemoval(const std::string& resultPath, const std::string& imagePath, FillChoice fill);

enum class Verdict {
    kNotAnImage,        // the first word is no branch instruction
    kStandardBranch,    // the entry branch jumps behind the header, as it does without an intro
    kBranchIntoHeader,  // the entry branch jumps into the header
    kPastTheEnd,        // the entry branch jumps past the end of the file
    kIntro,             // an intro starts where the entry branch jumps
};

Verdict verdictOf(const ImageFacts& image);

// Why taking the intro off the probed image would ruin it, or nullptr when it would not. An image
// that could not be probed gets nullptr too: the library then meets the same trouble and says why.
const char* removalRefusal(const ImageProbe& probe);

}  // namespace quillet
