// The entry branch: the ARM "B" instruction in bytes 0-3 of an image. Bytes 0-2 hold a 24-bit
// word count, read as unsigned; byte 3 (0xEA, "always branch") is written but never read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace quillet {

inline constexpr std::size_t kEntryBranchSize = 4;
inline constexpr std::size_t kHeaderSize = 192;

// The smallest and largest offsets a 24-bit branch count can reach.
inline constexpr std::uint32_t kMinBranchTarget = 8;
inline constexpr std::uint32_t kMaxBranchTarget = 8 + 4 * 0xFF'FFFF;

// 2E 00 00 EA: a jump to offset 192, the first byte behind the header.
inline constexpr std::array<std::byte, kEntryBranchSize> kStandardEntryBranch{
    std::byte{0x2E}, std::byte{0x00}, std::byte{0x00}, std::byte{0xEA}};

// The offset the entry branch jumps to, from bytes 0-2 of image (which must hold at least 3).
std::uint32_t decodeBranchTarget(std::span<const std::byte> image);

// size raised to the next multiple of 4 (unchanged when it is one).
std::uint64_t alignToWord(std::uint64_t size);

// An entry branch that jumps to size raised to a multiple of 4. Only the low 24 bits of the
// count are kept, so sizes below 8 wrap around (4 gives FF FF FF EA).
std::array<std::byte, kEntryBranchSize> encodeEntryBranch(std::uint64_t size);

// Writes branch over bytes 0-3 of image (which must hold at least 4).
void writeEntryBranch(std::span<std::byte> image,
                      const std::array<std::byte, kEntryBranchSize>& branch);

}  // namespace quillet
