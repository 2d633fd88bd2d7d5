#include "entry_branch.h"

#include <algorithm>

namespace quillet {

std::uint32_t decodeBranchTarget(std::span<const std::byte> image) {
    const std::uint32_t count = std::to_integer<std::uint32_t>(image[0]) |
                                std::to_integer<std::uint32_t>(image[1]) << 8 |
                                std::to_integer<std::uint32_t>(image[2]) << 16;
    return 8 + 4 * count;
}

std::uint64_t alignToWord(std::uint64_t size) {
    return (size + 3) & ~std::uint64_t{3};
}

std::array<std::byte, kEntryBranchSize> encodeEntryBranch(std::uint64_t size) {
    // Unsigned wrap-around gives the two's-complement count for sizes below 8.
    const std::uint64_t count = (alignToWord(size) - 8) / 4;
    return {std::byte(count & 0xFF), std::byte((count >> 8) & 0xFF),
            std::byte((count >> 16) & 0xFF), std::byte{0xEA}};
}

void writeEntryBranch(std::span<std::byte> image,
                      const std::array<std::byte, kEntryBranchSize>& branch) {
    std::copy(branch.begin(), branch.end(), image.begin());
}

}  // namespace quillet
