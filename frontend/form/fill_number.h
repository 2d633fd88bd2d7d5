// The number typed as the manual fill value.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillet {

// The number that text begins with, rounded to a whole number: blanks are skipped, then an
// optional sign and either decimal digits with an optional fraction and exponent, or hexadecimal
// digits after "0x". Halves round to the even neighbour. A text that begins with no number gives
// 0. nullopt when the number lies outside -32768 to 32767.
std::optional<std::int16_t> manualFillNumber(std::string_view text);

}  // namespace quillet
