// Fuzzes the manual fill number against a second reading of its rules, made with a regular
// expression and the C library's own conversions: blanks, a sign, then "0x" and hexadecimal
// digits, or decimal digits with a fraction and an exponent; rounded half to even; nothing
// outside -32768 to 32767.
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <regex>

#include "fill_number.h"
#include "test_images.h"

namespace {

std::optional<std::int16_t> expectedNumber(const std::string& text) {
    static const std::regex number(
        R"(^[ \t]*([+-]?)(?:0[xX]([0-9a-fA-F]+)|((?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[eE][+-]?[0-9]+)?)))");
    std::smatch parts;
    if (!std::regex_search(text, parts, number)) {
        return 0;
    }
    errno = 0;
    double value = parts[2].matched ? double(std::strtoull(parts[2].str().c_str(), nullptr, 16))
                                    : std::strtod(parts[3].str().c_str(), nullptr);
    if (parts[2].matched && errno == ERANGE) {
        value = HUGE_VAL;
    }
    const double whole = std::nearbyint(parts[1] == "-" ? -value : value);
    if (whole < -32768 || whole > 32767) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(whole);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    quillet::test::check(quillet::manualFillNumber(text) == expectedNumber(text),
                         "the fill number is the number the text begins with");
    return 0;
}
