// What quillet-cli says about an image, worked out from its size and its entry branch alone.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "entry_branch.h"
#include "intro.h"

namespace quillet::cli {

struct ImageFacts {
    std::uint64_t size;
    std::array<std::byte, kEntryBranchSize> entryBranch;
};

// True when the entry branch jumps to 192, as the standard one does: such an image has no
// intro to take off. Byte 3 is not looked at, as the engine does not read it either.
bool hasStandardEntryBranch(const ImageFacts& image);

// "no intro (standard entry branch)", "intro at offset T, N bytes" or "entry branch points past
// the end of the file".
std::string introVerdict(const ImageFacts& image);

// The line `info` prints for an image after its name: size, entry branch, target and verdict.
std::string infoLine(const ImageFacts& image);

// What removal did to an image that it succeeded on, after the engine's rules: a cut keeps the
// bytes before the branch target, a fill overwrites the bytes from it to the end.
std::string removalSummary(const ImageFacts& image, FillChoice fill);

}  // namespace quillet::cli
