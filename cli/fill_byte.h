// The byte that `remove` writes over an intro, and how it is given on the command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillet::cli {

// How `remove` treats an intro: nullopt cuts the image off where it begins, a byte overwrites it.
using IntroFill = std::optional<std::uint8_t>;

inline constexpr std::uint8_t kDefaultFillByte = 0xFF;

// text as a byte: 0 to 255 in decimal, or "0x" (or "0X") and hexadecimal digits up to 0xFF.
// Anything else, signs and spaces included, is nullopt.
std::optional<std::uint8_t> parseFillByte(std::string_view text);

// value as "0x" and two upper-case hexadecimal digits, the way the program prints fill bytes.
std::string fillByteText(std::uint8_t value);

}  // namespace quillet::cli
