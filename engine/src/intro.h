// Taking an intro off an image and appending one, over bytes in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "quillet.h"

namespace quillet {

// Files of this size or more do not fit the engine's 32-bit signed sizes.
inline constexpr std::uint64_t kMaxInputSize = std::uint64_t{1} << 31;

// How removal treats the intro's space: nullopt cuts the image there, a byte fills it.
using FillChoice = std::optional<std::byte>;

// The choice that RemoveIntroAuto's fill and fillValue arguments stand for.
FillChoice fillChoice(std::int32_t fill, std::int32_t fillValue);

struct Removal {
    QuilletStatus status;
    std::size_t outputSize;  // how many leading bytes of the image make the output
};

// Restores the standard entry branch of image and cuts or fills from the old branch target
// on, in place. Refuses an image under 4 bytes, and a cut whose target lies past the end.
Removal removeIntro(std::span<std::byte> image, FillChoice fill);

// Where an insertion puts things, worked out from the two input sizes alone, so that the game
// image can be read straight into an output array of the final size.
struct InsertionLayout {
    QuilletStatus status;
    std::size_t gameSize;
    std::size_t introCodeOffset;  // the game's size raised to a multiple of 4
    std::size_t outputSize;       // introCodeOffset + intro size - 184
};

// Refuses a game image under 4 bytes, an intro image under 192 bytes, a game image too large
// for any entry branch to reach behind it, and an input of 2 GiB or more.
InsertionLayout layoutInsertion(std::uint64_t gameSize, std::uint64_t introSize);

// output holds the game image in its first layout.gameSize bytes and zeros after them; this
// points the entry branch at introCodeOffset, copies the intro code there and adds the trailer.
void insertIntro(std::span<std::byte> output, const InsertionLayout& layout,
                 std::span<const std::byte> introImage);

}  // namespace quillet
