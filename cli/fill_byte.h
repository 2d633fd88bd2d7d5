// The byte that `remove` writes over an intro, and how it is given on the command line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillet::cli {

inline constexpr std::byte kDefaultFillByte{0xFF};

// text as a byte: 0 to 255 in decimal, or "0x" (or "0X") and hexadecimal digits up to 0xFF.
// Anything else, signs and spaces included, is nullopt.
std::optional<std::byte> parseFillByte(std::string_view text);

// Why text is no fill byte.
std::string notAFillByteMessage(std::string_view text);

// value as two upper-case hexadecimal digits. (Without printf, which would bring the C library's
// file output into the web page's module.)
std::string hexDigits(std::byte value);

// value as "0x" and two upper-case hexadecimal digits, the way the program prints fill bytes.
std::string fillByteText(std::byte value);

}  // namespace quillet::cli
