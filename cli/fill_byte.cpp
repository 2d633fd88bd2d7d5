#include "fill_byte.h"

#include <charconv>
#include <cstdio>

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

std::string fillByteText(std::byte value) {
    char text[5];
    std::snprintf(text, sizeof text, "0x%02X", std::to_integer<unsigned>(value));
    return text;
}

}  // namespace quillet::cli
