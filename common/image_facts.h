// What an image's size and first bytes say about it, without the rest: the check that every
// front end makes before it takes an intro off, so that removal never ruins an image that has none.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "entry_branch.h"
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

// The facts of an image of size bytes whose first bytes are head (4 are enough): too short when
// it has fewer than 4.
ImageProbe probeOf(std::uint64_t size, std::span<const std::byte> head);

enum class Verdict {
    kNotAnImage,        // the first word is no branch instruction
    kStandardBranch,    // the entry branch jumps behind the header, as it does without an intro
    kBranchIntoHeader,  // the entry branch jumps into the header
    kPastTheEnd,        // the entry branch jumps past the end of the file
    kIntro,             // an intro starts where the entry branch jumps
};

Verdict verdictOf(const ImageFacts& image);

// Why taking the intro off the probed image would ruin it, or nullptr when it would not. An image
// that could not be probed gets nullptr too: the removal then meets the same trouble and says why.
const char* removalRefusal(const ImageProbe& probe);

}  // namespace quillet
