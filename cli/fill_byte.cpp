#include "fill_byte.h"

#include <charconv>

namespace quillet::cli {

std::optional<std::byte> parseFillByte(std::string_view text) {
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    // from_chars into an unsigned type takes neither a sign nor a prefix nor leading spaces.
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || error != std::errc{} || stop != end || value > 0xFF) {
        return std::nullopt;
    }
    return std::byte(value);
}

std::string notAFillByteMessage(std::string_view text) {
    std::string message = "'";
    return message.append(text).append("' is not a byte: give 0 to 255, or 0x00 to 0xFF");
}

std::string hexDigits(std::byte value) {
    constexpr const char* kDigits = "0123456789ABCDEF";
    const unsigned number = std::to_integer<unsigned>(value);
    return {kDigits[number >> 4], kDigits[number & 0xF]};
}

std::string fillByteText(std::byte value) {
    std::string text = "0x";
    return text.append(hexDigits(value));
}

}  // namespace quillet::cli
